#include "event_compiler.hpp"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace tessaly::evc {
namespace {

// What an argument means, its range and the words that stand for values.
struct Word {
    const char* name;
    int32_t value;
};

struct ArgKind {
    const char* what;
    int32_t low, high;
    std::vector<Word> words;
};

const ArgKind kFlag{"on or off", 0, 1, {{"on", 1}, {"off", 0}, {"show", 1}, {"hide", 0}}};
// Any value outside 0..24 hides the portrait; "none" writes the one the runner starts with.
const ArgKind kPortrait{"a portrait (0..24, or none)", 0, 24, {{"none", 100}, {"off", 100}}};
const ArgKind kFrames{"frames", 0, kNumberMax, {}};
const ArgKind kDirection{"a direction (east, north, west, south or 0, 90, 180, 270)",
                         0,
                         270,
                         {{"east", 0}, {"north", 90}, {"west", 180}, {"south", 270}}};
const ArgKind kColumn{"a map column (0..299)", 0, 299, {}};
const ArgKind kRow{"a map row (0..299)", 0, 299, {}};
const ArgKind kAngle{"an angle in degrees (0..359)", 0, 359, {}};
const ArgKind kModel{"a model (mesh 0..24)", 0, 24, {}};
const ArgKind kActor{"an actor id", 0, kNumberMax, {}};
// The sound effects by the names the game gives them.
const ArgKind kSound{"a sound (0..13 or its name)",
                     0,
                     13,
                     {{"level_up", 0},
                      {"orb_lands", 1},
                      {"knock_back", 2},
                      {"chime", 3},
                      {"refused", 4},
                      {"hit", 5},
                      {"step", 6},
                      {"magic", 7},
                      {"cursor", 8},
                      {"saved", 9},
                      {"set_off", 10},
                      {"shot", 11},
                      {"heal", 12},
                      {"money", 13}}};
// Row 0 of the request table is never taken: a team number of 0 means none.
const ArgKind kRequest{"a request (1..9)", 1, 9, {}};
const ArgKind kSquare{"a square (1..60)", 1, 60, {}};
const ArgKind kStage{"a stage (0..3)", 0, 3, {}};
const ArgKind kBits{"achievement bits (0..15)", 0, 15, {}};
// The terrain layer keeps the low 8 bits; the board's own values run -128..127.
const ArgKind kTerrain{"a terrain value (-128..255)", -128, 255, {}};
const ArgKind kItem{"an item (1..12)", 1, 12, {}};
const ArgKind kOpponent{"a member data row (0..23)", 0, 23, {}};
const ArgKind kRoute{"a route (0..11)", 0, 11, {}};

enum class Shape {
    Fixed,    // the listed arguments
    Counted,  // a count, then count groups of the listed arguments
    Message,  // 1..3 text lines
    Choice,   // a question and two options with their labels
};

struct CommandForm {
    const char* name;
    int number;
    Shape shape;
    std::vector<const ArgKind*> args;  // Counted: those before the list, then one group
    int group = 0;                     // Counted: arguments per group
    int min_groups = 0, max_groups = 0;
    const char* group_what = "";
    const char* jump = "";  // the fixed label a condition jumps to
};

const std::vector<CommandForm>& command_forms() {
    static const std::vector<CommandForm> forms = {
        {"window", 1, Shape::Fixed, {&kFlag}},
        {"message", 2, Shape::Message, {}},
        {"portrait", 3, Shape::Fixed, {&kPortrait}},
        {"choice", 4, Shape::Choice, {}},
        {"wait", 5, Shape::Fixed, {&kFrames}},
        {"random_battle", 6, Shape::Fixed, {}},
        {"battle", 7, Shape::Counted, {&kOpponent}, 1, 1, 4, "opponents"},
        {"shop", 10, Shape::Counted, {&kItem}, 1, 1, 12, "items"},
        {"actor_place", 11, Shape::Fixed, {&kColumn, &kRow, &kAngle, &kModel, &kActor}},
        {"sound", 14, Shape::Fixed, {&kSound}},
        {"if_all_achieved", 15, Shape::Fixed, {}, 0, 0, 0, "", "all_achieved"},
        {"camera_pan", 16, Shape::Fixed, {&kDirection, &kFrames}},
        {"actor_appear", 17, Shape::Fixed, {&kColumn, &kRow, &kAngle, &kModel, &kActor}},
        {"actor_move", 18, Shape::Counted, {&kActor, &kDirection, &kFrames}, 3, 1, 4, "movers"},
        {"actor_remove", 19, Shape::Fixed, {&kActor}},
        {"if_battles_off", 20, Shape::Fixed, {}, 0, 0, 0, "", "kaihi"},
        {"players", 21, Shape::Fixed, {&kFlag}},
        {"terrain", 22, Shape::Fixed, {&kColumn, &kRow, &kTerrain}},
        {"request_take", 30, Shape::Counted, {&kRequest, &kRoute}, 1, 1, 12, "routes"},
        {"if_request_taken", 31, Shape::Fixed, {&kRequest}, 0, 0, 0, "", "requested"},
        {"if_not_holding", 32, Shape::Fixed, {&kRequest}, 0, 0, 0, "", "no_team"},
        {"if_has_request_item", 33, Shape::Fixed, {&kRequest}, 0, 0, 0, "", "achieved"},
        {"request_complete", 34, Shape::Fixed, {&kRequest}},
        {"stage", 35, Shape::Fixed, {&kSquare, &kStage}},
        {"if_holding_other", 36, Shape::Fixed, {&kRequest}, 0, 0, 0, "", "other"},
        {"achieve", 37, Shape::Fixed, {&kBits}},
        {"script_off", 38, Shape::Fixed, {&kSquare}},
        {"stage_character", 39, Shape::Fixed, {&kSquare}},
        {"continue_square", 40, Shape::Fixed, {&kSquare}},
        {"end_picture", 41, Shape::Fixed, {}},
        {"credits", 42, Shape::Fixed, {}},
        {"end", 99, Shape::Fixed, {}},
    };
    return forms;
}

const CommandForm* form_named(const std::string& name) {
    for (const CommandForm& s : command_forms()) {
        if (name == s.name) return &s;
    }
    return nullptr;
}

std::string trim(const std::string& s) {
    const char* blanks = " \t\r";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string plural(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// One character of UTF-8; false at a malformed sequence.
bool utf8_next(const std::string& s, size_t& i, int32_t& code) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra = 0;
    if (c < 0x80) {
        code = c;
    } else if ((c & 0xE0) == 0xC0) {
        extra = 1;
        code = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        extra = 2;
        code = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        extra = 3;
        code = c & 0x07;
    } else {
        return false;
    }
    if (i + static_cast<size_t>(extra) >= s.size()) return false;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return false;
        code = (code << 6) | (b & 0x3F);
    }
    i += static_cast<size_t>(extra) + 1;
    return true;
}

std::string code_name(int32_t code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(code));
    return buf;
}

// The compiler of one script: lines in, script text and commands out.
class ScriptCompiler {
  public:
    ScriptCompiler(const std::string& file, const GlyphMap& glyphs, Script& out,
                   std::vector<std::string>& errors)
        : file_(file), glyphs_(glyphs), out_(out), errors_(errors) {}

    void line(int line_no, const std::string& raw) {
        std::string text = raw;
        const size_t hash = text.find('#');
        if (hash != std::string::npos) text.erase(hash);
        text = trim(text);
        if (text.empty()) return;
        if (text[0] == '>') {
            if (!block_open_) {
                fail(line_no, "a '>' text line stands only under message or choice");
                return;
            }
            block_lines_.push_back({line_no, trim(text.substr(1))});
            return;
        }
        block_finish();
        statement(line_no, text);
    }

    void finish() {
        block_finish();
        jumps_check();
        if (static_cast<int>(out_.text.size()) > kScriptTextMax) {
            fail(0, "the script is " + std::to_string(out_.text.size()) +
                        " bytes of text, over the 2047 a script buffer holds");
        }
    }

  private:
    struct TextLine {
        int line;
        std::string text;
    };
    struct Label {
        int line;
        size_t at;
        std::string name;
    };
    struct Piece {
        size_t at;
        int line;
        std::string what;
    };

    void fail(int line_no, const std::string& reason) {
        errors_.push_back(file_ + ":" + (line_no > 0 ? std::to_string(line_no) + ":" : "") + " " +
                          reason);
    }

    void emit_number(int32_t v) { out_.text += std::to_string(v) + ","; }

    void command_begin(int line_no, int number, const std::string& what) {
        pieces_.push_back({out_.text.size(), line_no, what});
        out_.text += "#" + std::to_string(number) + ",";
        out_.commands.push_back({line_no, number, {}, {}});
    }

    void command_number(int32_t v) {
        emit_number(v);
        out_.commands.back().numbers.push_back(v);
    }

    static bool label_name_ok(const std::string& name) {
        if (name.empty() || name.size() > static_cast<size_t>(kLabelBytes)) return false;
        if (std::isdigit(static_cast<unsigned char>(name[0]))) return false;
        for (char c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
        }
        return true;
    }

    bool label_check(int line_no, const std::string& name) {
        if (name.size() > static_cast<size_t>(kLabelBytes)) {
            fail(line_no, "label '" + name + "' is " + std::to_string(name.size()) +
                              " bytes; a label holds at most 19");
            return false;
        }
        if (!label_name_ok(name)) {
            fail(line_no,
                 "label '" + name + "' must be letters, digits and '_', not starting with a digit");
            return false;
        }
        return true;
    }

    bool value_of(int line_no, const std::string& token, const ArgKind& kind,
                  const std::string& command, int32_t& value) {
        for (const Word& w : kind.words) {
            if (token == w.name) {
                value = w.value;
                return true;
            }
        }
        bool numeric = !token.empty();
        size_t start = token[0] == '-' ? 1 : 0;
        if (start == token.size()) numeric = false;
        for (size_t i = start; i < token.size() && numeric; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(token[i]))) numeric = false;
        }
        if (!numeric || token.size() > 8) {
            fail(line_no, command + ": '" + token + "' is not " + kind.what);
            return false;
        }
        const long v = std::stol(token);
        bool in_range = v >= kind.low && v <= kind.high;
        if (&kind == &kDirection) in_range = v == 0 || v == 90 || v == 180 || v == 270;
        if (!in_range) {
            fail(line_no, command + ": " + token + " is outside " + kind.what);
            return false;
        }
        value = static_cast<int32_t>(v);
        return true;
    }

    void statement(int line_no, const std::string& text) {
        std::vector<std::string> words;
        {
            std::string spaced = text;
            std::replace(spaced.begin(), spaced.end(), ',', ' ');
            std::replace(spaced.begin(), spaced.end(), '\t', ' ');
            std::istringstream in(spaced);
            for (std::string w; in >> w;) words.push_back(w);
        }
        const std::string name = words[0];
        std::vector<std::string> args(words.begin() + 1, words.end());
        if (name == "label") {
            if (args.size() != 1) {
                fail(line_no, "label takes one name");
                return;
            }
            if (!label_check(line_no, args[0])) return;
            pieces_.push_back({out_.text.size(), line_no, "label '" + args[0] + "'"});
            labels_.push_back({line_no, out_.text.size(), args[0]});
            out_.text += args[0];
            return;
        }
        const CommandForm* form = form_named(name);
        if (!form) {
            fail(line_no, "unknown command '" + name + "'");
            return;
        }
        switch (form->shape) {
            case Shape::Message:
            case Shape::Choice:
                if (!args.empty()) {
                    fail(line_no, name + " takes no arguments; its text follows on '>' lines");
                    return;
                }
                block_open_ = true;
                block_form_ = form;
                block_line_ = line_no;
                block_lines_.clear();
                return;
            case Shape::Fixed:
                fixed(line_no, *form, args);
                return;
            case Shape::Counted:
                counted(line_no, *form, args);
                return;
        }
    }

    static std::string arg_list(const CommandForm& form) {
        std::string s;
        for (const ArgKind* k : form.args) s += std::string(s.empty() ? "" : ", ") + k->what;
        return s;
    }

    void fixed(int line_no, const CommandForm& form, const std::vector<std::string>& args) {
        if (args.size() != form.args.size()) {
            std::string want = form.args.empty() ? std::string("no arguments")
                                                 : plural(static_cast<int>(form.args.size()),
                                                          "argument", "arguments") +
                                                       " (" + arg_list(form) + ")";
            fail(line_no, std::string(form.name) + " takes " + want + ", not " +
                              std::to_string(args.size()));
            return;
        }
        std::vector<int32_t> values(args.size());
        bool ok = true;
        for (size_t i = 0; i < args.size(); ++i)
            ok = value_of(line_no, args[i], *form.args[i], form.name, values[i]) && ok;
        if (!ok) return;
        command_begin(line_no, form.number, form.name);
        for (size_t i = 0; i < values.size(); ++i)
            command_number(form.args[i] == &kTerrain ? values[i] & 0xFF : values[i]);
        if (*form.jump) out_.jumps.push_back({line_no, form.jump, out_.text.size(), 0});
    }

    void counted(int line_no, const CommandForm& form, const std::vector<std::string>& args) {
        const size_t lead = form.args.size() - static_cast<size_t>(form.group);
        const size_t listed = args.size() >= lead ? args.size() - lead : 0;
        const int groups = static_cast<int>(listed / static_cast<size_t>(form.group));
        if (args.size() < lead || listed % static_cast<size_t>(form.group) != 0 ||
            groups < form.min_groups || groups > form.max_groups) {
            std::string want;
            for (size_t i = 0; i < lead; ++i) want += std::string(form.args[i]->what) + ", then ";
            want += std::to_string(form.min_groups) + " to " + std::to_string(form.max_groups) +
                    " " + form.group_what;
            if (form.group > 1) {
                want += " (each:";
                for (size_t i = lead; i < form.args.size(); ++i)
                    want += std::string(i == lead ? " " : ", ") + form.args[i]->what;
                want += ")";
            }
            fail(line_no, std::string(form.name) + " takes " + want + "; got " +
                              plural(static_cast<int>(args.size()), "argument", "arguments"));
            return;
        }
        std::vector<int32_t> values(args.size());
        bool ok = true;
        for (size_t i = 0; i < args.size(); ++i) {
            const size_t k = i < lead ? i : lead + (i - lead) % static_cast<size_t>(form.group);
            ok = value_of(line_no, args[i], *form.args[k], form.name, values[i]) && ok;
        }
        if (!ok) return;
        command_begin(line_no, form.number, form.name);
        for (size_t i = 0; i < lead; ++i) command_number(values[i]);
        command_number(groups);
        for (size_t i = lead; i < values.size(); ++i) command_number(values[i]);
    }

    // A text line to glyph numbers; false (with the reasons given) when it cannot be shown.
    bool glyphs_of(int line_no, const std::string& text, std::vector<int32_t>& out) {
        out.clear();
        std::string missing;
        size_t i = 0;
        while (i < text.size()) {
            const size_t start = i;
            int32_t code = 0;
            if (!utf8_next(text, i, code)) {
                fail(line_no, "the text is not UTF-8");
                return false;
            }
            auto it = glyphs_.find(code);
            // ASCII letters, digits and marks stand for their full-width forms.
            if (it == glyphs_.end() && code > 0x20 && code < 0x7F) it = glyphs_.find(code + 0xFEE0);
            if (it == glyphs_.end()) {
                const std::string ch = code == ' ' ? std::string("' ' (a space)")
                                                   : "'" + text.substr(start, i - start) + "' (" +
                                                         code_name(code) + ")";
                if (missing.find(ch) == std::string::npos)
                    missing += std::string(missing.empty() ? "" : ", ") + ch;
                continue;
            }
            out.push_back(it->second);
        }
        if (!missing.empty()) {
            fail(line_no, "not in the glyph table: " + missing);
            return false;
        }
        if (static_cast<int>(out.size()) > kLineGlyphs) {
            fail(line_no, "the line has " + std::to_string(out.size()) +
                              " glyphs; a message line holds at most 24");
            return false;
        }
        return true;
    }

    void block_finish() {
        if (!block_open_) return;
        block_open_ = false;
        const CommandForm& form = *block_form_;
        const int count = static_cast<int>(block_lines_.size());
        const bool choice = form.shape == Shape::Choice;
        if (!choice && (count < 1 || count > kMessageLines)) {
            fail(block_line_, "a message shows 1 to 3 lines; this one has " +
                                  plural(count, "'>' line", "'>' lines"));
            return;
        }
        if (choice && count != 3) {
            fail(block_line_,
                 "a choice has exactly three '>' lines (a question, then two options each "
                 "with '-> label'); this one has " +
                     std::to_string(count));
            return;
        }
        bool ok = true;
        std::vector<std::vector<int32_t>> lines;
        std::vector<std::string> labels;
        for (int i = 0; i < count; ++i) {
            const TextLine& tl = block_lines_[static_cast<size_t>(i)];
            std::string text = tl.text;
            const size_t arrow = text.find("->");
            if (arrow != std::string::npos) {
                if (!choice || i == 0) {
                    fail(tl.line, choice ? "the question line of a choice jumps nowhere; only "
                                           "its two options name a label"
                                         : "only a choice's options name a label ('->')");
                    ok = false;
                    continue;
                }
                const std::string label = trim(text.substr(arrow + 2));
                text = trim(text.substr(0, arrow));
                if (label.empty() || label.find(' ') != std::string::npos) {
                    fail(tl.line, "'->' is followed by one label name");
                    ok = false;
                    continue;
                }
                if (!label_check(tl.line, label)) {
                    ok = false;
                    continue;
                }
                labels.push_back(label);
            } else if (choice && i > 0) {
                fail(tl.line,
                     "an option of a choice ends with '-> label', the label jumped to "
                     "when it is picked");
                ok = false;
                continue;
            }
            std::vector<int32_t> glyphs;
            ok = glyphs_of(tl.line, text, glyphs) && ok;
            lines.push_back(glyphs);
        }
        if (!ok) return;
        command_begin(block_line_, form.number, form.name);
        if (!choice) command_number(count);
        for (const auto& l : lines) {
            for (int32_t g : l) command_number(g);
            // A full line still gets its 0: the runner reads and drops one number after 24.
            command_number(0);
        }
        if (choice) {
            for (const std::string& label : labels) {
                out_.text += label + ",";
                out_.commands.back().labels.push_back(label);
            }
            for (size_t i = 0; i < labels.size(); ++i)
                out_.jumps.push_back({block_lines_[i + 1].line, labels[i], out_.text.size(), 0});
        }
    }

    const Piece& piece_at(size_t at) const {
        auto it = std::upper_bound(pieces_.begin(), pieces_.end(), at,
                                   [](size_t a, const Piece& p) { return a < p.at; });
        return *(it - 1);
    }

    // Every jump must land where its label stands: the runner searches the text forward
    // from the command for the label's bytes and stops at the first place they match.
    void jumps_check() {
        for (Jump& j : out_.jumps) {
            const Label* target = nullptr;
            for (const Label& l : labels_) {
                if (l.name == j.label && l.at >= j.from) {
                    target = &l;
                    break;
                }
            }
            if (!target) {
                fail(j.line,
                     "no 'label " + j.label + "' after this command; a jump only goes forward");
                continue;
            }
            const size_t found = out_.text.find(j.label, j.from);
            if (found != target->at) {
                const Piece& p = piece_at(found);
                fail(j.line, "the jump to '" + j.label + "' would stop early, inside " + p.what +
                                 " on line " + std::to_string(p.line) +
                                 ", before its label on line " + std::to_string(target->line) +
                                 "; rename one of them");
            }
            j.to = target->at + j.label.size();
        }
    }

    const std::string& file_;
    const GlyphMap& glyphs_;
    Script& out_;
    std::vector<std::string>& errors_;
    bool block_open_ = false;
    const CommandForm* block_form_ = nullptr;
    int block_line_ = 0;
    std::vector<TextLine> block_lines_;
    std::vector<Label> labels_;
    std::vector<Piece> pieces_;
};

// "12_opening.ev" is script 12; -1 for a name that is no script's.
int script_number_of(const std::string& name) {
    if (name.size() < 4 || name.compare(name.size() - 3, 3, ".ev") != 0) return -1;
    size_t digits = 0;
    while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
    if (digits == 0 || digits > 4) return -1;
    return std::stoi(name.substr(0, digits));
}

}  // namespace

bool glyphs_load(const std::string& path, GlyphMap& out, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot read the glyph table";
        return false;
    }
    out.clear();
    std::string line;
    int line_no = 0;
    while (std::getline(in, line)) {
        ++line_no;
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::istringstream cs(line);
        for (std::string c; std::getline(cs, c, '\t');) cells.push_back(c);
        int number = 0;
        long code = 0;
        try {
            if (cells.size() < 3) throw std::invalid_argument("cells");
            number = std::stoi(cells[0]);
            code = std::stol(cells[2], nullptr, 16);
        } catch (const std::exception&) {
            error =
                path + ":" + std::to_string(line_no) + ": a glyph row is number, character, code";
            return false;
        }
        // Glyph 0 ends a line and shows nothing; the first glyph of a character is its own.
        if (number >= 1 && code != 0) out.emplace(static_cast<int32_t>(code), number);
    }
    if (out.empty()) {
        error = path + ": no glyphs";
        return false;
    }
    return true;
}

bool script_compile(const std::string& file, const std::string& source, const GlyphMap& glyphs,
                    Script& out, std::vector<std::string>& errors) {
    const size_t before = errors.size();
    out.file = file;
    out.text.clear();
    out.commands.clear();
    out.jumps.clear();
    ScriptCompiler c(file, glyphs, out, errors);
    // A byte order mark that some editors write is no part of the first line.
    const bool bom = source.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::istringstream in(bom ? source.substr(3) : source);
    int line_no = 0;
    for (std::string line; std::getline(in, line);) c.line(++line_no, line);
    c.finish();
    return errors.size() == before;
}

std::vector<unsigned char> pack_image(const std::vector<Script>& scripts) {
    std::string text;
    for (const Script& s : scripts) text += s.text + "@";
    std::vector<unsigned char> out;
    auto put_u32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    };
    put_u32(0);
    put_u32(static_cast<uint32_t>(text.size()));
    for (char c : text) out.push_back(static_cast<unsigned char>(~static_cast<unsigned char>(c)));
    return out;
}

bool pack_compile(const std::vector<std::string>& folders, const GlyphMap& glyphs,
                  const PackOptions& options, std::vector<Script>& scripts,
                  std::vector<unsigned char>& pack, std::vector<std::string>& errors) {
    namespace fs = std::filesystem;
    const size_t before = errors.size();
    std::vector<std::string> sources(static_cast<size_t>(options.script_count));
    for (const std::string& folder : folders) {
        std::error_code ec;
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder, ec)) {
            if (e.is_regular_file()) files.push_back(e.path());
        }
        if (ec) {
            errors.push_back(folder + ": cannot read the folder");
            continue;
        }
        std::sort(files.begin(), files.end());
        std::vector<std::string> here(sources.size());
        for (const fs::path& p : files) {
            const std::string name = p.filename().string();
            if (p.extension() != ".ev") continue;
            const int n = script_number_of(name);
            if (n < 0) {
                errors.push_back(p.string() + ": a script's file name starts with its number");
                continue;
            }
            if (n >= options.script_count) {
                errors.push_back(p.string() + ": script " + std::to_string(n) +
                                 " is never run; the event script table names scripts 0.." +
                                 std::to_string(options.script_count - 1));
                continue;
            }
            if (!here[static_cast<size_t>(n)].empty()) {
                errors.push_back(p.string() + ": script " + std::to_string(n) +
                                 " already comes from " + here[static_cast<size_t>(n)]);
                continue;
            }
            here[static_cast<size_t>(n)] = p.string();
            sources[static_cast<size_t>(n)] = p.string();
        }
    }
    scripts.assign(sources.size(), Script{});
    for (size_t n = 0; n < sources.size(); ++n) {
        scripts[n].number = static_cast<int>(n);
        if (sources[n].empty()) {
            if (!options.fill_empty) {
                std::string where;
                for (const std::string& f : folders) where += (where.empty() ? "" : ", ") + f;
                errors.push_back(where + ": no script " + std::to_string(n) + " (a file named " +
                                 (n < 10 ? "0" : "") + std::to_string(n) +
                                 "_<name>.ev); every script the table names is needed");
            }
            continue;
        }
        std::ifstream in(sources[n], std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        if (!in) {
            errors.push_back(sources[n] + ": cannot read");
            continue;
        }
        script_compile(sources[n], text.str(), glyphs, scripts[n], errors);
    }
    pack = pack_image(scripts);
    const size_t text_bytes = pack.size() - 8;
    if (text_bytes > static_cast<size_t>(kPackTextMax)) {
        errors.push_back("the pack's text is " + std::to_string(text_bytes) +
                         " bytes, over the 35999 the loader takes (36000, of which it never "
                         "uses the last)");
    }
    return errors.size() == before;
}

}  // namespace tessaly::evc
