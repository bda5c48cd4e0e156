#include "body_text.h"

#include <present/present.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace bodytool {

using kinetra::QuoteBytes;

// ---- Writing ---------------------------------------------------------------

namespace {

// Names are written without the trailing spaces the writer pads them with.
std::string QuoteName(const std::string& field) {
    std::string shown = field;
    while (!shown.empty() && shown.back() == ' ') {
        shown.pop_back();
    }
    return QuoteBytes(shown);
}

// The shortest decimal that reads back to the same float; a NaN keeps its
// payload as raw bits.
std::string FloatText(float value) {
    if (std::isnan(value)) {
        char bits[32];
        std::snprintf(bits, sizeof bits, "bits:%08x", std::bit_cast<std::uint32_t>(value));
        return bits;
    }
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

class TTextWriter {
public:
    explicit TTextWriter(std::ostream& target) : out(target) {}

    std::ostream& out;

    void Line(const std::string& indent, const std::string& text, const std::string& note = {}) {
        out << indent << text;
        if (!note.empty()) {
            out << "  # " << note;
        }
        out << '\n';
    }
    void Name(const std::string& indent, const std::string& field) {
        const std::string trimmed = present::TrimText(field);
        std::string shown = QuoteName(field);
        Line(indent, "name " + shown,
             QuoteBytes(trimmed) == shown ? std::string() : "loads as " + QuoteBytes(trimmed));
    }
};

const char* Header =
    "# Kinetra body file, written by kinetra-body dump; kinetra-body build turns it back\n"
    "# into the same bytes. One field a line, '#' starts a comment. Names are 8-byte fields\n"
    "# (padded with spaces when shorter); strings take \\\" \\\\ \\0 \\r \\t \\xHH escapes;\n"
    "# floats read back exactly (bits:HHHHHHHH gives raw bits).\n";

std::string GroupNote(std::int32_t code, std::size_t index) {
    if (code == -1) {
        return "no group: collides with no mass and no zone";
    }
    if (code == -2) {
        return "an automatic group of its own";
    }
    if (code < -2) {
        return "group " + std::to_string(static_cast<std::int64_t>(code) + 1);
    }
    if (static_cast<std::size_t>(code) < index) {
        return "the group of mass " + std::to_string(code);
    }
    return "invalid: names no earlier mass";
}

} // namespace

std::string WriteText(const kinetra::TBodyRecords& body) {
    std::ostringstream text;
    WriteText(body, text);
    return text.str();
}

void WriteText(const kinetra::TBodyRecords& body, std::ostream& out) {
    TTextWriter w(out);
    w.out << Header;
    w.Line("", "reserved " + std::to_string(body.reserved), "read and ignored; write 0");
    w.Name("", body.name);
    if (body.hasImages) {
        w.out << '\n';
        w.Line("", "images " + std::to_string(body.images.size()),
               "paths are relative to the body file's directory");
        for (std::size_t i = 0; i < body.images.size(); ++i) {
            const kinetra::TImageRecord& image = body.images[i];
            w.Line("", "image " + std::to_string(i));
            w.Line("  ", "path " + QuoteBytes(image.path) + (image.nulTerminated ? " nul" : ""));
            w.Line("  ",
                   "mask " + std::to_string(image.mask[0]) + " " + std::to_string(image.mask[1]) +
                       " " + std::to_string(image.mask[2]),
                   "red green blue made transparent when flags has 1");
            w.Line("  ", "flags " + std::to_string(image.flags),
                   "1 masked, 2 filtered, 4 mip-mapped");
            w.Line("  ", "anchor " + FloatText(image.anchorX) + " " + FloatText(image.anchorY),
                   "pivot, placed on the rig's mass");
        }
    }
    w.out << '\n';
    w.Line("", "masses " + std::to_string(body.masses.size()));
    for (std::size_t i = 0; i < body.masses.size(); ++i) {
        const kinetra::TMassRecord& m = body.masses[i];
        w.Line("", "mass " + std::to_string(i));
        w.Name("  ", m.name);
        w.Line("  ", "position " + FloatText(m.x) + " " + FloatText(m.y));
        w.Line("  ", "weight " + FloatText(m.mass));
        w.Line("  ", "radius " + FloatText(m.radius));
        w.Line("  ", "friction " + FloatText(m.friction));
        w.Line("  ", "group " + std::to_string(m.group), GroupNote(m.group, i));
        w.Line("  ", "fixed " + std::to_string(m.fixed));
    }
    w.out << '\n';
    w.Line("", "constraints " + std::to_string(body.constraints.size()),
           "rest lengths are the distances as loaded");
    for (std::size_t i = 0; i < body.constraints.size(); ++i) {
        const kinetra::TConstraintRecord& c = body.constraints[i];
        w.Line("", "constraint " + std::to_string(i));
        w.Name("  ", c.name);
        w.Line("  ", "masses " + std::to_string(c.massA) + " " + std::to_string(c.massB));
        w.Line("  ", "stiffness " + FloatText(c.stiffness));
    }
    w.out << '\n';
    if (body.hasRigs) {
        w.Line("", "rigs " + std::to_string(body.rigs.size()));
        for (std::size_t i = 0; i < body.rigs.size(); ++i) {
            const kinetra::TRigRecord& r = body.rigs[i];
            w.Line("", "rig " + std::to_string(i));
            w.Name("  ", r.name);
            w.Line("  ", "image " + std::to_string(r.image));
            w.Line("  ", "mass " + std::to_string(r.mass));
            w.Line("  ", "constraint " + std::to_string(r.constraint),
                   r.constraint == -1 ? "none: the image keeps the angle" : "");
            w.Line("  ", "angle " + FloatText(r.angle), "degrees, clockwise");
        }
    } else {
        w.Line("", "end " + QuoteBytes(body.endTag), "no rigs: any 4 bytes but \"RIGS\"");
    }
    if (!body.trailing.empty()) {
        w.Line("", "trailing " + QuoteBytes(body.trailing), "ignored by the loader");
    }
}

// ---- Reading ---------------------------------------------------------------

namespace {

struct TToken {
    std::string text;
    bool quoted = false;
};

struct TLine {
    int number = 0;
    std::vector<TToken> tokens;
};

struct TTextError : std::runtime_error {
    TTextError(int line, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ": " + message) {}
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::vector<TToken> Tokenise(const std::string& text, int number) {
    std::vector<TToken> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            TToken token{"", true};
            ++i;
            while (true) {
                if (i >= text.size()) {
                    throw TTextError(number, "unterminated string");
                }
                const char s = text[i++];
                if (s == '"') {
                    break;
                }
                if (s != '\\') {
                    token.text += s;
                    continue;
                }
                if (i >= text.size()) {
                    throw TTextError(number, "unterminated string");
                }
                const char e = text[i++];
                switch (e) {
                case '"':
                case '\\':
                    token.text += e;
                    break;
                case '0':
                    token.text += '\0';
                    break;
                case 'r':
                    token.text += '\r';
                    break;
                case 't':
                    token.text += '\t';
                    break;
                case 'x': {
                    const int high = i < text.size() ? HexDigit(text[i]) : -1;
                    const int low = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
                    if (high < 0 || low < 0) {
                        throw TTextError(number, "\\x needs two hex digits");
                    }
                    token.text += static_cast<char>(high * 16 + low);
                    i += 2;
                    break;
                }
                default:
                    throw TTextError(number, std::string("unknown escape \\") + e);
                }
            }
            tokens.push_back(token);
        } else {
            TToken token;
            while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' &&
                   text[i] != '#' && text[i] != '"') {
                token.text += text[i++];
            }
            tokens.push_back(token);
        }
    }
    return tokens;
}

// Reads the text a line at a time, tokenising only the line it is at, so that
// what it holds never grows with the text.
class TTextReader {
public:
    explicit TTextReader(const std::string& source) : text(source) { Advance(); }

    bool AtEnd() const { return !hasLine; }
    bool Peek(const char* keyword) const {
        return hasLine && !current.tokens[0].quoted && current.tokens[0].text == keyword;
    }

    // The next line, which must be keyword followed by values values (and
    // up to optional more).
    TLine Expect(const char* keyword, std::size_t values, std::size_t optional = 0) {
        if (AtEnd()) {
            throw TTextError(lastNumber,
                             std::string("the text ends where \"") + keyword + "\" belongs");
        }
        TLine line = std::move(current);
        if (line.tokens[0].quoted || line.tokens[0].text != keyword) {
            throw TTextError(line.number, std::string("expected \"") + keyword + "\", found \"" +
                                              line.tokens[0].text + "\"");
        }
        if (line.tokens.size() < values + 1 || line.tokens.size() > values + optional + 1) {
            throw TTextError(line.number, std::string("\"") + keyword + "\" takes " +
                                              std::to_string(values) + " value(s)");
        }
        Advance();
        return line;
    }

    static long long Integer(const TLine& line, std::size_t i, long long low, long long high) {
        const TToken& token = line.tokens[i];
        long long value = 0;
        const char* end = token.text.data() + token.text.size();
        const auto result = std::from_chars(token.text.data(), end, value);
        if (token.quoted || result.ec != std::errc() || result.ptr != end || value < low ||
            value > high) {
            throw TTextError(line.number, "\"" + token.text + "\" is not a whole number from " +
                                              std::to_string(low) + " to " + std::to_string(high));
        }
        return value;
    }
    static std::int32_t Int(const TLine& line, std::size_t i) {
        return static_cast<std::int32_t>(Integer(line, i, INT32_MIN, INT32_MAX));
    }
    static std::uint8_t Byte(const TLine& line, std::size_t i) {
        return static_cast<std::uint8_t>(Integer(line, i, 0, 255));
    }
    static float Float(const TLine& line, std::size_t i) {
        const TToken& token = line.tokens[i];
        const std::string& t = token.text;
        if (!token.quoted && t.rfind("bits:", 0) == 0 && t.size() == 13) {
            std::uint32_t bits = 0;
            const auto result = std::from_chars(t.data() + 5, t.data() + t.size(), bits, 16);
            if (result.ec == std::errc() && result.ptr == t.data() + t.size()) {
                return std::bit_cast<float>(bits);
            }
        }
        float value = 0;
        const char* end = t.data() + t.size();
        const auto result = std::from_chars(t.data(), end, value);
        if (token.quoted || result.ec != std::errc() || result.ptr != end) {
            throw TTextError(line.number, "\"" + t + "\" is not a number");
        }
        return value;
    }
    static std::string String(const TLine& line, std::size_t i) {
        if (!line.tokens[i].quoted) {
            throw TTextError(line.number, "expected a quoted string");
        }
        return line.tokens[i].text;
    }
    // An 8-byte name field; shorter names are padded with spaces.
    static std::string Name(const TLine& line) {
        std::string name = String(line, 1);
        if (name.size() > 8) {
            throw TTextError(line.number, "a name holds at most 8 bytes");
        }
        name.resize(8, ' ');
        return name;
    }
    // A count line, then as many records, each introduced by "kind i". The
    // count is only a promise: records are stored as they are read, so a
    // count the text does not keep costs nothing.
    std::size_t Count(const char* keyword) {
        const TLine line = Expect(keyword, 1);
        return static_cast<std::size_t>(Integer(line, 1, 0, INT32_MAX));
    }
    void Record(const char* kind, std::size_t index) {
        const TLine& line = Expect(kind, 1);
        if (Integer(line, 1, 0, INT32_MAX) != static_cast<long long>(index)) {
            throw TTextError(line.number,
                             std::string(kind) + " " + std::to_string(index) + " expected here");
        }
    }
    int Number() const { return hasLine ? current.number : lastNumber; }

private:
    // Moves to the next line that holds a token.
    void Advance() {
        hasLine = false;
        while (offset < text.size() || (offset == text.size() && !finished)) {
            std::size_t end = text.find('\n', offset);
            if (end == std::string::npos) {
                end = text.size();
                finished = true;
            }
            ++number;
            current.tokens = Tokenise(text.substr(offset, end - offset), number);
            offset = end + 1;
            if (!current.tokens.empty()) {
                current.number = number;
                lastNumber = number;
                hasLine = true;
                return;
            }
        }
    }

    const std::string& text;
    std::size_t offset = 0;
    bool finished = false;
    int number = 0;
    int lastNumber = 1;
    TLine current;
    bool hasLine = false;
};

void ParseImages(TTextReader& in, kinetra::TBodyRecords& body) {
    body.hasImages = true;
    const std::size_t count = in.Count("images");
    for (std::size_t i = 0; i < count; ++i) {
        kinetra::TImageRecord& image = body.images.emplace_back();
        in.Record("image", i);
        const TLine& path = in.Expect("path", 1, 1);
        image.path = TTextReader::String(path, 1);
        if (image.path.find('\n') != std::string::npos ||
            image.path.find('\0') != std::string::npos) {
            throw TTextError(path.number, "a path cannot hold a line feed or a NUL");
        }
        if (path.tokens.size() == 3) {
            if (path.tokens[2].text != "nul" || path.tokens[2].quoted) {
                throw TTextError(path.number, "after the path only \"nul\" may follow");
            }
            image.nulTerminated = true;
        }
        const TLine& mask = in.Expect("mask", 3);
        for (std::size_t c = 0; c < 3; ++c) {
            image.mask[c] = TTextReader::Byte(mask, c + 1);
        }
        image.flags = TTextReader::Byte(in.Expect("flags", 1), 1);
        const TLine& anchor = in.Expect("anchor", 2);
        image.anchorX = TTextReader::Float(anchor, 1);
        image.anchorY = TTextReader::Float(anchor, 2);
    }
}

void ParseMasses(TTextReader& in, kinetra::TBodyRecords& body) {
    const std::size_t count = in.Count("masses");
    for (std::size_t i = 0; i < count; ++i) {
        kinetra::TMassRecord& m = body.masses.emplace_back();
        in.Record("mass", i);
        m.name = TTextReader::Name(in.Expect("name", 1));
        const TLine& position = in.Expect("position", 2);
        m.x = TTextReader::Float(position, 1);
        m.y = TTextReader::Float(position, 2);
        m.mass = TTextReader::Float(in.Expect("weight", 1), 1);
        m.radius = TTextReader::Float(in.Expect("radius", 1), 1);
        m.friction = TTextReader::Float(in.Expect("friction", 1), 1);
        m.group = TTextReader::Int(in.Expect("group", 1), 1);
        m.fixed = TTextReader::Byte(in.Expect("fixed", 1), 1);
    }
}

void ParseConstraints(TTextReader& in, kinetra::TBodyRecords& body) {
    const std::size_t count = in.Count("constraints");
    for (std::size_t i = 0; i < count; ++i) {
        kinetra::TConstraintRecord& c = body.constraints.emplace_back();
        in.Record("constraint", i);
        c.name = TTextReader::Name(in.Expect("name", 1));
        const TLine& masses = in.Expect("masses", 2);
        c.massA = TTextReader::Int(masses, 1);
        c.massB = TTextReader::Int(masses, 2);
        c.stiffness = TTextReader::Float(in.Expect("stiffness", 1), 1);
    }
}

void ParseRigs(TTextReader& in, kinetra::TBodyRecords& body) {
    body.hasRigs = true;
    body.endTag = "RIGS";
    const std::size_t count = in.Count("rigs");
    for (std::size_t i = 0; i < count; ++i) {
        kinetra::TRigRecord& r = body.rigs.emplace_back();
        in.Record("rig", i);
        r.name = TTextReader::Name(in.Expect("name", 1));
        r.image = TTextReader::Int(in.Expect("image", 1), 1);
        r.mass = TTextReader::Int(in.Expect("mass", 1), 1);
        r.constraint = TTextReader::Int(in.Expect("constraint", 1), 1);
        r.angle = TTextReader::Float(in.Expect("angle", 1), 1);
    }
}

} // namespace

bool ParseText(const std::string& text, kinetra::TBodyRecords& body, std::string& error) {
    body = kinetra::TBodyRecords{};
    try {
        TTextReader in(text);
        body.reserved = TTextReader::Int(in.Expect("reserved", 1), 1);
        body.name = TTextReader::Name(in.Expect("name", 1));
        if (in.Peek("images")) {
            ParseImages(in, body);
        }
        ParseMasses(in, body);
        ParseConstraints(in, body);
        if (in.Peek("rigs")) {
            ParseRigs(in, body);
        } else {
            const TLine& end = in.Expect("end", 1);
            body.endTag = TTextReader::String(end, 1);
            if (body.endTag.size() != 4 || body.endTag == "RIGS") {
                throw TTextError(end.number, "\"end\" takes 4 bytes other than \"RIGS\"");
            }
        }
        if (in.Peek("trailing")) {
            body.trailing = TTextReader::String(in.Expect("trailing", 1), 1);
        }
        if (!in.AtEnd()) {
            throw TTextError(in.Number(), "unexpected text after the body");
        }
    } catch (const TTextError& failure) {
        error = failure.what();
        return false;
    }
    return true;
}

} // namespace bodytool
