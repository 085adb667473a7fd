#include "core/pattern.h"

#include <boost/regex.hpp>

namespace kestrin {

struct Pattern::Impl {
    boost::regex expression;
};

Pattern::Pattern(const std::string& expression)
    : impl_(std::make_unique<Impl>(Impl{boost::regex(expression, boost::regex::perl)})) {}
Pattern::~Pattern() = default;
Pattern::Pattern(Pattern&&) noexcept = default;
Pattern& Pattern::operator=(Pattern&&) noexcept = default;

std::string_view MatchList::text(std::string_view searched, std::size_t match, std::size_t group) const {
    const Span s = span(match, group);
    if (!s.matched) return {};
    return searched.substr(s.begin, s.length);
}

MatchList Pattern::searchAll(std::string_view text) const {
    MatchList list;
    list.spansPerMatch_ = impl_->expression.mark_count() + 1;
    try {
        using Iterator = boost::regex_iterator<std::string_view::const_iterator>;
        const auto base = text.begin();
        for (Iterator it(text.begin(), text.end(), impl_->expression), end; it != end; ++it) {
            const auto& m = *it;
            for (std::size_t g = 0; g < list.spansPerMatch_; ++g) {
                Span s;
                if (m[g].matched) {
                    s.begin = static_cast<std::size_t>(m[g].first - base);
                    s.length = static_cast<std::size_t>(m[g].second - m[g].first);
                    s.matched = true;
                }
                list.spans_.push_back(s);
            }
        }
    } catch (const std::runtime_error&) {
        list.spans_.clear();
        list.gaveUp = true;
    }
    return list;
}

int Pattern::matchWhole(std::string_view text) const {
    try {
        return boost::regex_match(text.begin(), text.end(), impl_->expression) ? 1 : 0;
    } catch (const std::runtime_error&) {
        return -1;
    }
}

} // namespace kestrin
