#include "function_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using fnlen::FindFunctions;
using fnlen::TFunctionSpan;

std::vector<std::string> Describe(const std::vector<TFunctionSpan>& spans) {
    std::vector<std::string> out;
    for (const TFunctionSpan& span : spans) {
        out.push_back(span.name + " " + std::to_string(span.firstLine) + "-" +
                      std::to_string(span.lastLine));
    }
    return out;
}

// Braces in literals, comments and directives, initializers of every kind and
// the forms a function's head takes, each of which once threw the count off.
TEST(FunctionScan, FindsEveryBodyAndOnlyBodies) {
    const char* source = R"src(#include <x>
#define OPEN {
namespace a::b {
struct S : Base<int> {
    int v{3};
    S(int x) : v{x}, w(2) {
        Go();
    }
    int Get() const noexcept(true) {
        return v;
    }
    auto Sum() -> int {
        return '}';
    }
    bool operator()(int) const {
        return true;
    }
public:
    virtual ~S() {}
};
const int table[] = {1, 2, 3};
const char* s = "{ not a block"; // {
/* { */ template <typename T>
int F(T a) {
    if (a) { return 1'000; }
    const char* r = R"x(})x";
    auto inner = [] {
        return 0;
    };
    return inner();
}
} // namespace a::b
extern "C" void G() {
}
)src";
    EXPECT_EQ(Describe(FindFunctions(source)),
              (std::vector<std::string>{"S 6-8", "Get 9-11", "Sum 12-14", "operator() 15-17",
                                        "~S 19-19", "F 23-31", "G 33-34"}));
}

TEST(FunctionScan, UnclosedBodyRunsToTheEnd) {
    EXPECT_EQ(Describe(FindFunctions("void F() {\n  if (x) {\n\n")),
              (std::vector<std::string>{"F 1-3"}));
}

} // namespace
