#include "writeback/patch_rules.h"

#include "writeback/entry_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin {
namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

std::string utf16(const std::string& ascii) { return encodeUtf16(ascii, true); }

struct PatchCase {
    const char* name;
    WriteBackMode mode;
    bool spaces;
    bool borrow;
    bool lengthPrefix;
    std::string image;
    std::uint64_t offset;
    std::string original; // decoded ANSI
    std::string translation;
    PatchResult result;
    std::string after;
};

WriteBackSettings settingsFor(const PatchCase& c) {
    WriteBackSettings s;
    applyWriteBackMode(static_cast<int>(c.mode), "p", s);
    s.padWithSpaces = c.spaces;
    s.borrowZeroBytes = c.borrow;
    s.updateLengthPrefix = c.lengthPrefix;
    return s;
}

TEST(PatchEntryInPlace, RulesOfEveryEncoding) {
    using M = WriteBackMode;
    const auto ok = PatchResult::Patched;
    const auto over = PatchResult::Overlong;
    const std::string open = "Open";
    const std::string five = utf16("abcde");
    const std::vector<PatchCase> cases = {
        {"ansi longer into zeros updates the Delphi field", M::WriteDelphiAscii, false, true, true,
         bytes({0xFF, 4, 0, 0, 0}) + open + bytes({0, 0, 0}), 5, open, "Opened", ok,
         bytes({0xFF, 6, 0, 0, 0}) + "Opened" + bytes({0})},
        {"ansi longer blocked by a non-zero byte", M::WriteAscii, false, true, false,
         open + bytes({0, 0, 0x41}), 0, open, "Opened", over, open + bytes({0, 0, 0x41})},
        {"ansi shorter padded with zeros", M::WriteAscii, false, true, false, open + bytes({0}), 0, open, "AB", ok,
         bytes({'A', 'B', 0, 0, 0})},
        {"ansi shorter padded with spaces", M::WriteAscii, true, true, false, open + bytes({0}), 0, open, "AB", ok,
         "AB  " + bytes({0})},
        {"ansi equal length, no padding", M::WriteAscii, false, true, false, open + bytes({0, 7}), 0, open, "Shut", ok,
         "Shut" + bytes({0, 7})},
        {"ansi one longer needs the terminator and one more zero", M::WriteAscii, false, true, false,
         open + bytes({0, 9}), 0, open, "Opens", over, open + bytes({0, 9})},
        {"ansi one longer with two zeros fits", M::WriteAscii, false, true, false, open + bytes({0, 0}), 0, open,
         "Opens", ok, "Opens" + bytes({0})},
        {"longer at the very end of the image", M::WriteAscii, false, true, false, open + bytes({0}), 0, open, "Opens",
         over, open + bytes({0})},
        {"no borrowing refuses any longer text", M::WriteAscii, false, false, false, open + bytes({0, 0, 0, 0}), 0,
         open, "Opens", over, open + bytes({0, 0, 0, 0})},
        {"utf16 shorter padded with spaces before the terminator", M::WriteUnicode, true, true, false, five, 0,
         "abcde", "xy", ok, bytes({'x', 0, 'y', 0, 0x20, 0, 0x20, 0, 0x20, 0, 0, 0})},
        {"Delphi Unicode field counts code units", M::WriteDelphiUnicode, false, true, true,
         bytes({5, 0, 0, 0}) + five, 4, "abcde", "xyz", ok,
         bytes({3, 0, 0, 0}) + utf16("xyz") + std::string(4, '\0')},
        {"VB field counts bytes", M::WriteVbUnicode, false, true, true, bytes({10, 0, 0, 0}) + five, 4, "abcde", "xyz",
         ok, bytes({6, 0, 0, 0}) + utf16("xyz") + std::string(4, '\0')},
        {"utf16 longer borrows exactly the excess", M::WriteUnicode, false, true, false, utf16("ab") + bytes({0, 0}), 0,
         "ab", "abc", ok, utf16("abc")},
        {"utf8 longer borrows exactly the excess", M::WriteUtf8, false, true, false, bytes({0x41, 0x42, 0, 0, 0}), 0,
         "AB", "ABCD", ok, bytes({0x41, 0x42, 0x43, 0x44, 0})},
        {"utf8 one shorter with spaces fills exactly", M::WriteUtf8, true, true, false, bytes({'a', 'b', 'c', 0}), 0,
         "abc", "ab", ok, bytes({'a', 'b', ' ', 0})},
        {"spaces never touch the field, even when longer", M::WriteDelphiAscii, true, true, true,
         bytes({0xFF, 4, 0, 0, 0}) + open + bytes({0, 0, 0}), 5, open, "Opened", ok,
         bytes({0xFF, 4, 0, 0, 0}) + "Opened" + bytes({0})},
        {"field without FF is left alone", M::WriteDelphiAscii, false, true, true,
         bytes({0xFE, 4, 0, 0, 0}) + open + bytes({0}), 5, open, "AB", ok,
         bytes({0xFE, 4, 0, 0, 0}) + bytes({'A', 'B', 0, 0, 0})},
        {"field with another length is left alone", M::WriteDelphiAscii, false, true, true,
         bytes({0xFF, 5, 0, 0, 0}) + open + bytes({0}), 5, open, "AB", ok,
         bytes({0xFF, 5, 0, 0, 0}) + bytes({'A', 'B', 0, 0, 0})},
        {"field that would begin before the image", M::WriteDelphiAscii, false, true, true,
         bytes({4, 0, 0, 0}) + open + bytes({0}), 4, open, "AB", ok, bytes({4, 0, 0, 0, 'A', 'B', 0, 0, 0})},
        {"ANSI field rule applies in plain ASCII mode when ticked", M::WriteAscii, false, true, true,
         bytes({0xFF, 4, 0, 0, 0}) + open + bytes({0}), 5, open, "AB", ok,
         bytes({0xFF, 2, 0, 0, 0}) + bytes({'A', 'B', 0, 0, 0})},
        {"empty original past the end writes nothing", M::WriteDelphiAscii, false, true, true, bytes({0xFF, 0, 0}), 9,
         "", "", ok, bytes({0xFF, 0, 0})},
    };
    for (const auto& c : cases) {
        const WriteBackSettings s = settingsFor(c);
        const TargetEncoding encoding = targetEncodingFor(s);
        std::string image = c.image;
        const auto result = patchEntryInPlace(image, c.offset, c.original, c.translation,
                                              encodeForTarget(c.original, encoding),
                                              encodeForTarget(c.translation, encoding), encoding, s);
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_EQ(image, c.after) << c.name;
    }
}

} // namespace
} // namespace kestrin
