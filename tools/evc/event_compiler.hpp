#pragma once
// The event compiler: readable event sources, one file per script number, to the event pack
// (epack.dat). The language is described in content/events/README.md. Everything the runner
// would refuse, cut or run past is refused here, with the file, the line and the reason.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessaly::evc {

// What the initial event script table names: scripts 0..38.
constexpr int kScriptCount = 39;
// A script buffer keeps its last byte zero.
constexpr int kScriptTextMax = 2047;
// The loader's staging area is 36000 bytes and never uses its last one.
constexpr int kPackTextMax = 35999;
constexpr int kLineGlyphs = 24;
constexpr int kMessageLines = 3;
// A choice's label is copied into 20 bytes with its terminator.
constexpr int kLabelBytes = 19;
// The script language's number reader takes six digits.
constexpr int kNumberMax = 999999;

// Character code to glyph number (the first glyph that shows it).
using GlyphMap = std::map<int32_t, int>;

// Reads the glyph table's source (content/glyphs/glyphs.tsv). False with a reason when the
// file cannot be read or a row is malformed.
bool glyphs_load(const std::string& path, GlyphMap& out, std::string& error);

// One command as the compiler wrote it: the numbers after the command number in the order
// the runner reads them (a message's count, its lines each ended by 0, ...), and a choice's
// two labels, which stand after its numbers.
struct Command {
    int line = 0;
    int number = 0;
    std::vector<int32_t> numbers;
    std::vector<std::string> labels;
};

// A jump of a choice or a condition: from the read position after its command to the read
// position after its label, where the runner goes on.
struct Jump {
    int line = 0;
    std::string label;
    size_t from = 0;
    size_t to = 0;
};

struct Script {
    int number = -1;
    std::string file;  // the source it came from; empty for a script filled in as empty
    std::string text;  // the script text the loader gives back (no blanks, no "@")
    std::vector<Command> commands;
    std::vector<Jump> jumps;
};

// Compiles one source. Every refusal is added to errors as "file:line: reason"; the result
// is true when there were none.
bool script_compile(const std::string& file, const std::string& source, const GlyphMap& glyphs,
                    Script& out, std::vector<std::string>& errors);

struct PackOptions {
    int script_count = kScriptCount;
    // Scripts that no folder holds become empty scripts (which end at once) instead of
    // being refused; for test packs that only need a few scripts.
    bool fill_empty = false;
};

// Compiles the sources of the folders into the scripts 0..script count - 1 and the pack's
// bytes. A source is a file "<number><anything>.ev"; a later folder's script replaces an
// earlier folder's of the same number. True when nothing was refused.
bool pack_compile(const std::vector<std::string>& folders, const GlyphMap& glyphs,
                  const PackOptions& options, std::vector<Script>& scripts,
                  std::vector<unsigned char>& pack, std::vector<std::string>& errors);

// The pack's bytes: skip length 0, the text length, then the scripts' text each ended by
// "@", every byte complemented.
std::vector<unsigned char> pack_image(const std::vector<Script>& scripts);

}  // namespace tessaly::evc
