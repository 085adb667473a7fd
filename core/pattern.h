#pragma once

// Regular expressions over code page 936 texts: Perl syntax, case-sensitive,
// default match flags ("^" and "$" at every line, a CR LF pair one line break,
// "." matching line breaks). When the engine gives up on a pathological input
// (its complexity bound), the result says so instead of throwing.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrin {

struct Span {
    std::size_t begin = 0; // 0-based byte index into the searched text
    std::size_t length = 0;
    bool matched = false;
};

// All matches of one search, stored flat: groupCount + 1 spans per match
// (span 0 is the whole match).
class MatchList {
public:
    std::size_t size() const { return spansPerMatch_ == 0 ? 0 : spans_.size() / spansPerMatch_; }
    bool empty() const { return size() == 0; }
    Span span(std::size_t match, std::size_t group = 0) const { return spans_[match * spansPerMatch_ + group]; }
    // The text of a group of a match; a group that took no part gives "".
    std::string_view text(std::string_view searched, std::size_t match, std::size_t group = 0) const;

    bool gaveUp = false; // the engine hit its complexity bound

private:
    friend class Pattern;
    std::size_t spansPerMatch_ = 0;
    std::vector<Span> spans_;
};

class Pattern {
public:
    explicit Pattern(const std::string& expression);
    ~Pattern();
    Pattern(Pattern&&) noexcept;
    Pattern& operator=(Pattern&&) noexcept;

    // Every match from left to right, each search starting where the previous ended.
    MatchList searchAll(std::string_view text) const;
    // 1 when the whole text matches, 0 when not, -1 when the engine gave up.
    int matchWhole(std::string_view text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace kestrin
