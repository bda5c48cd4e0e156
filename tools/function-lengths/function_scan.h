// Finding the function bodies of C++ source text and their lengths, without a
// compiler: enough of the language to tell a function's braces from those of a
// namespace, a class or an initializer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fnlen {

// One function body, lines numbered from 1.
struct TFunctionSpan {
    std::string name;  // as written before its parameters, e.g. "TBlob::Update"
    int firstLine = 0; // the line its head (return type, name) starts on
    int lastLine = 0;  // the line of its closing brace
    int Lines() const { return lastLine - firstLine + 1; }
};

// Comments, string and character literals and preprocessor lines replaced by
// spaces, every line feed kept, so that offsets and line numbers stay as they were.
std::string BlankNonCode(std::string_view source);

// Every function defined at namespace or class scope, in order of appearance;
// lambdas and local classes count as part of the function they are written in.
// Text that does not parse as C++ yields whatever spans it seems to hold; an
// unclosed body runs to the end of the text. Never fails.
std::vector<TFunctionSpan> FindFunctions(std::string_view source);

} // namespace fnlen
