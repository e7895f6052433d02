// tessaly-evc: compiles the event sources into the event pack.
//
//   tessaly-evc --glyphs GLYPHS.tsv [--fill-empty] [--listing FILE] OUT.dat FOLDER...
//
// Each folder holds sources named "<script number>_<name>.ev"; a later folder's script
// replaces an earlier one's of the same number. --fill-empty makes the scripts no folder
// holds empty instead of refusing them (test packs). --listing writes every script's text as
// the loader will give it back. The language: content/events/README.md.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "event_compiler.hpp"

namespace {

bool write_atomically(const std::string& path, const std::vector<unsigned char>& bytes) {
    const std::string tmp = path + ".tmp";
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok || std::rename(tmp.c_str(), path.c_str()) != 0) {
        std::remove(tmp.c_str());
        return false;
    }
    return true;
}

int usage() {
    std::cerr << "usage: tessaly-evc --glyphs GLYPHS.tsv [--fill-empty] [--listing FILE] "
                 "OUT.dat FOLDER...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tessaly::evc;
    std::string glyph_path, listing_path, out_path;
    std::vector<std::string> folders;
    PackOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--glyphs" && i + 1 < argc) {
            glyph_path = argv[++i];
        } else if (a == "--listing" && i + 1 < argc) {
            listing_path = argv[++i];
        } else if (a == "--fill-empty") {
            options.fill_empty = true;
        } else if (a.rfind("--", 0) == 0) {
            return usage();
        } else if (out_path.empty()) {
            out_path = a;
        } else {
            folders.push_back(a);
        }
    }
    if (glyph_path.empty() || out_path.empty() || folders.empty()) return usage();

    GlyphMap glyphs;
    std::string error;
    if (!glyphs_load(glyph_path, glyphs, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    std::vector<Script> scripts;
    std::vector<unsigned char> pack;
    std::vector<std::string> errors;
    if (!pack_compile(folders, glyphs, options, scripts, pack, errors)) {
        for (const std::string& e : errors) std::cerr << e << "\n";
        std::cerr << out_path << ": not written (" << errors.size() << " refused)\n";
        return 1;
    }
    if (!listing_path.empty()) {
        std::ofstream listing(listing_path, std::ios::trunc);
        for (const Script& s : scripts) {
            listing << s.number << "\t" << (s.file.empty() ? "-" : s.file) << "\t" << s.text
                    << "\n";
        }
    }
    if (!write_atomically(out_path, pack)) {
        std::cerr << out_path << ": cannot write\n";
        return 1;
    }
    size_t largest = 0;
    for (const Script& s : scripts) largest = s.text.size() > largest ? s.text.size() : largest;
    std::cout << out_path << ": " << scripts.size() << " scripts, " << pack.size() - 8 << " of "
              << kPackTextMax << " text bytes, the largest script " << largest << " of "
              << kScriptTextMax << "\n";
    return 0;
}
