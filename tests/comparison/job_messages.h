#pragma once

// The completion messages of the two ini jobs, with the elapsed time between
// a fixed head and tail.

#include <gtest/gtest.h>

#include <string>

namespace kestrin::test {

inline const std::string kToIniDone = "转为 ini 格式完毕，共用时： ";
inline const std::string kFromIniDone = "写回Kestrin对照文件完毕，共用时： ";

inline testing::AssertionResult isCompletion(const std::string& message, const std::string& head) {
    const std::string tail = " 秒！";
    if (message.size() > head.size() + tail.size() && message.compare(0, head.size(), head) == 0 &&
        message.compare(message.size() - tail.size(), tail.size(), tail) == 0) {
        const std::string seconds = message.substr(head.size(), message.size() - head.size() - tail.size());
        if (seconds.find_first_not_of("0123456789.e-") == std::string::npos) return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "not a completion message: " << message;
}

} // namespace kestrin::test
