#include "function_scan.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace fnlen {

namespace {

bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

void Blank(std::string& text, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to && i < text.size(); ++i) {
        if (text[i] != '\n') text[i] = ' ';
    }
}

// The end of a preprocessor directive starting at `at`: its line and every line
// continued with a backslash.
std::size_t DirectiveEnd(const std::string& text, std::size_t at) {
    std::size_t end = text.find('\n', at);
    while (end != std::string::npos && end > at && text[end - 1] == '\\') {
        end = text.find('\n', end + 1);
    }
    return end == std::string::npos ? text.size() : end;
}

// The start of the run of identifier characters, digits, dots and quotes ending
// just before `at`: a number such as 1'000 or a prefix such as u8.
std::size_t RunStart(const std::string& text, std::size_t at) {
    while (at > 0 && (IsIdentChar(text[at - 1]) || text[at - 1] == '\'' || text[at - 1] == '.')) {
        --at;
    }
    return at;
}

bool IsDigitSeparator(const std::string& text, std::size_t quote) {
    const std::size_t start = RunStart(text, quote);
    return start < quote && std::isdigit(static_cast<unsigned char>(text[start])) != 0;
}

bool IsRawStringQuote(const std::string& text, std::size_t quote) {
    static constexpr std::array<std::string_view, 5> kPrefixes{"R", "u8R", "uR", "UR", "LR"};
    const std::size_t start = RunStart(text, quote);
    const std::string_view prefix(text.data() + start, quote - start);
    return std::find(kPrefixes.begin(), kPrefixes.end(), prefix) != kPrefixes.end();
}

// The end of a quoted literal opened at `open`: after its closing quote, or at
// the line's end when it is not closed.
std::size_t QuotedEnd(const std::string& text, std::size_t open) {
    const char quote = text[open];
    std::size_t i = open + 1;
    while (i < text.size() && text[i] != quote && text[i] != '\n') {
        i += text[i] == '\\' ? 2 : 1;
    }
    return std::min(text.size(), i < text.size() && text[i] == quote ? i + 1 : i);
}

std::size_t RawStringEnd(const std::string& text, std::size_t open) {
    const std::size_t paren = text.find('(', open);
    if (paren == std::string::npos) return text.size();
    std::string closing = ")";
    closing.append(text, open + 1, paren - open - 1);
    closing.push_back('"');
    const std::size_t end = text.find(closing, paren);
    return end == std::string::npos ? text.size() : end + closing.size();
}

// Where the non-code stretch starting at `i` ends, or `i` itself when code starts there.
std::size_t NonCodeEnd(const std::string& text, std::size_t i, bool lineStart) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (lineStart && c == '#') return DirectiveEnd(text, i);
    if (c == '/' && next == '/') {
        const std::size_t end = text.find('\n', i);
        return end == std::string::npos ? text.size() : end;
    }
    if (c == '/' && next == '*') {
        const std::size_t end = text.find("*/", i + 2);
        return end == std::string::npos ? text.size() : end + 2;
    }
    if (c == '"') return IsRawStringQuote(text, i) ? RawStringEnd(text, i) : QuotedEnd(text, i);
    if (c == '\'' && !IsDigitSeparator(text, i)) return QuotedEnd(text, i);
    return i;
}

std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
    return text;
}

// The position of the '(' matching the ')' at text[close], or npos.
std::size_t MatchingOpen(std::string_view text, std::size_t close) {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (text[i] == ')') ++depth;
        if (text[i] == '(' && --depth == 0) return i;
    }
    return std::string_view::npos;
}

bool EndsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size() || text.substr(text.size() - word.size()) != word) return false;
    return text.size() == word.size() || !IsIdentChar(text[text.size() - word.size() - 1]);
}

// A head with what may follow a function's parameter list taken off: a
// constructor's initializers, a trailing return type, qualifiers and noexcept;
// empty when a brace after it cannot open a function's body.
std::string_view ParameterListEnd(std::string_view head) {
    for (std::size_t i = head.find(')'); i != std::string_view::npos; i = head.find(')', i + 1)) {
        std::size_t j = i + 1;
        while (j < head.size() && IsSpace(head[j])) ++j;
        const bool initializers = j < head.size() && head[j] == ':' &&
                                  (j + 1 == head.size() || head[j + 1] != ':');
        // A brace after a member's name initializes that member; the body
        // follows the whole list.
        const char last = TrimRight(head).back();
        if (initializers) return last == ')' || last == '}' ? TrimRight(head.substr(0, i + 1)) : "";
        if (head.substr(j, 2) == "->") return TrimRight(head.substr(0, i + 1));
    }
    static constexpr std::array<std::string_view, 8> kQualifiers{
        "const", "volatile", "override", "final", "mutable", "noexcept", "&", "&&"};
    for (bool stripped = true; stripped;) {
        stripped = false;
        head = TrimRight(head);
        for (const std::string_view word : kQualifiers) {
            if (!EndsWithWord(head, word)) continue;
            head.remove_suffix(word.size());
            stripped = true;
        }
        if (!head.empty() && head.back() == ')') {
            const std::size_t open = MatchingOpen(head, head.size() - 1);
            if (open != std::string_view::npos && EndsWithWord(TrimRight(head.substr(0, open)), "noexcept")) {
                head = TrimRight(head.substr(0, open));
                stripped = true;
            }
        }
    }
    return head;
}

// The name written before the parameter list that closes `declarator`.
std::string NameBefore(std::string_view declarator) {
    const std::size_t open = MatchingOpen(declarator, declarator.size() - 1);
    if (open == std::string_view::npos) return "";
    std::string_view before = TrimRight(declarator.substr(0, open));
    if (before.size() >= 2 && before.substr(before.size() - 2) == "()") before.remove_suffix(2);
    std::size_t start = before.size();
    while (start > 0 && std::string_view("=<>!+-*/%&|^[]~").find(before[start - 1]) != std::string_view::npos) --start;
    while (start > 0 && (IsIdentChar(before[start - 1]) || before[start - 1] == ':' || before[start - 1] == '~')) {
        --start;
    }
    return std::string(declarator.substr(start, open - start));
}

bool IsScopeHead(std::string_view head) {
    static constexpr std::array<std::string_view, 8> kWords{
        "namespace", "class", "struct", "union", "enum", "extern", "typedef", "export"};
    std::size_t start = 0;
    if (head.substr(0, 8) == "template") start = head.rfind('>') == std::string_view::npos ? 0 : head.rfind('>') + 1;
    while (start < head.size() && IsSpace(head[start])) ++start;
    std::size_t end = start;
    while (end < head.size() && IsIdentChar(head[end])) ++end;
    const std::string_view first = head.substr(start, end - start);
    return std::find(kWords.begin(), kWords.end(), first) != kWords.end();
}

bool IsAccessLabel(std::string_view head) {
    std::size_t start = 0;
    while (start < head.size() && IsSpace(head[start])) ++start;
    head = TrimRight(head.substr(start));
    return head == "public" || head == "private" || head == "protected";
}

// Past the '}' matching the '{' at `open`, or the end of the text.
std::size_t BlockEnd(const std::string& code, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < code.size(); ++i) {
        if (code[i] == '{') ++depth;
        if (code[i] == '}' && --depth == 0) return i + 1;
    }
    return code.size();
}

class TScanner {
public:
    explicit TScanner(std::string code) : code_(std::move(code)) {
        lineStarts_.push_back(0);
        for (std::size_t i = 0; i < code_.size(); ++i) {
            if (code_[i] == '\n') lineStarts_.push_back(i + 1);
        }
    }

    std::vector<TFunctionSpan> Run() {
        std::size_t headStart = 0;
        for (std::size_t pos = 0; pos < code_.size();) {
            const char c = code_[pos];
            const std::string_view head(code_.data() + headStart, pos - headStart);
            if (c == ';' || c == '}' || (c == ':' && IsAccessLabel(head))) {
                headStart = ++pos;
            } else if (c != '{') {
                ++pos;
            } else if (const std::size_t end = BlockEnd(code_, pos); RecordFunction(headStart, pos, end)) {
                headStart = pos = end;
            } else if (IsScopeHead(head)) {
                headStart = ++pos; // the scope's declarations are scanned as they come
            } else {
                pos = end; // an initializer: the declaration goes on
            }
        }
        return std::move(spans_);
    }

private:
    // Notes the block from `open` to `end` when its head makes it a function's
    // body rather than an initializer.
    bool RecordFunction(std::size_t headStart, std::size_t open, std::size_t end) {
        const std::string_view head(code_.data() + headStart, open - headStart);
        const std::string_view declarator = ParameterListEnd(head);
        if (declarator.empty() || declarator.back() != ')') return false;
        std::size_t first = headStart;
        while (first < open && IsSpace(code_[first])) ++first;
        spans_.push_back({NameBefore(declarator), LineOf(first), LineOf(end - 1)});
        return true;
    }

    int LineOf(std::size_t pos) const {
        const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), pos);
        return static_cast<int>(after - lineStarts_.begin());
    }

    std::string code_;
    std::vector<std::size_t> lineStarts_;
    std::vector<TFunctionSpan> spans_;
};

} // namespace

std::string BlankNonCode(std::string_view source) {
    std::string text(source);
    bool lineStart = true;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t end = NonCodeEnd(text, i, lineStart);
        if (end > i) {
            Blank(text, i, end);
            i = end;
            continue;
        }
        if (text[i] == '\n') lineStart = true;
        else if (!IsSpace(text[i])) lineStart = false;
        ++i;
    }
    return text;
}

std::vector<TFunctionSpan> FindFunctions(std::string_view source) {
    return TScanner(BlankNonCode(source)).Run();
}

} // namespace fnlen
