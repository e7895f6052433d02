// Builds data.dat from a manifest: 132 lines "INDEX PATH" (PATH relative to the manifest,
// or "-" for an empty entry). Entries that name the same file share their bytes. PNG pictures
// are written again with unfiltered rows, which the game decodes about twice as fast, when
// that decodes to the same texels and is not much larger.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/image.hpp"

namespace {

constexpr int kEntries = 132;

void put_u32(std::vector<unsigned char>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

bool read_file(const std::string& path, std::vector<unsigned char>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// At most this much larger than the file it replaces, as a fraction of it.
constexpr size_t kUnfilteredGrowthDivisor = 8;

// The unfiltered form of a PNG when it decodes to the very same texels and is not much
// larger; otherwise the bytes stay as they are.
void png_unfilter(std::vector<unsigned char>& data) {
    using namespace tessaly::platform;
    Image original, again;
    std::vector<unsigned char> unfiltered;
    if (!image_is_png(data.data(), data.size()) ||
        !image_decode(data.data(), data.size(), original) ||
        !image_encode_png_unfiltered(original, unfiltered) ||
        unfiltered.size() > data.size() + data.size() / kUnfilteredGrowthDivisor ||
        !image_decode(unfiltered.data(), unfiltered.size(), again) ||
        again.width != original.width || again.height != original.height ||
        again.argb != original.argb) {
        return;
    }
    data.swap(unfiltered);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tessaly-pack MANIFEST OUTPUT\n";
        return 2;
    }
    const std::string manifest = argv[1];
    const std::string base = manifest.substr(0, manifest.find_last_of('/') + 1);
    std::ifstream in(manifest);
    if (!in) {
        std::cerr << "tessaly-pack: cannot read " << manifest << "\n";
        return 1;
    }
    std::vector<std::string> paths(kEntries);
    std::vector<bool> seen(kEntries, false);
    std::string line;
    int line_no = 0;
    while (std::getline(in, line)) {
        ++line_no;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream ls(line);
        int index = -1;
        std::string path;
        if (!(ls >> index >> path) || index < 0 || index >= kEntries || seen[index]) {
            std::cerr << manifest << ":" << line_no << ": bad or repeated entry line\n";
            return 1;
        }
        seen[index] = true;
        paths[index] = path;
    }
    for (int i = 0; i < kEntries; ++i) {
        if (!seen[i]) {
            std::cerr << manifest << ": entry " << i << " is missing\n";
            return 1;
        }
    }

    std::vector<unsigned char> out(kEntries * 4, 0);
    std::map<std::string, uint32_t> placed;
    for (int i = 0; i < kEntries; ++i) {
        auto it = placed.find(paths[i]);
        if (it != placed.end()) {
            put_u32(out, 4 * i, it->second);
            continue;
        }
        std::vector<unsigned char> data;
        if (paths[i] != "-" && !read_file(base + paths[i], data)) {
            std::cerr << "tessaly-pack: entry " << i << ": cannot read " << base + paths[i] << "\n";
            return 1;
        }
        png_unfilter(data);
        const uint32_t offset = static_cast<uint32_t>(out.size() - kEntries * 4);
        put_u32(out, 4 * i, offset);
        placed[paths[i]] = offset;
        const size_t at = out.size();
        out.resize(at + 4 + data.size());
        put_u32(out, at, static_cast<uint32_t>(data.size()));
        std::copy(data.begin(), data.end(), out.begin() + static_cast<long>(at) + 4);
    }
    const std::string tmp = std::string(argv[2]) + ".tmp";
    {
        std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
        o.write(reinterpret_cast<const char*>(out.data()),
                static_cast<std::streamsize>(out.size()));
        if (!o) {
            std::cerr << "tessaly-pack: cannot write " << tmp << "\n";
            return 1;
        }
    }
    if (std::rename(tmp.c_str(), argv[2]) != 0) {
        std::cerr << "tessaly-pack: cannot replace " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
