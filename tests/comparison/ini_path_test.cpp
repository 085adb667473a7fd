#include "comparison/ini_path.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(IniPathFor, ReplacesOnlyAFinalTxt) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"/w/app.exe.a.txt", "/w/app.exe.a.ini"},
        {"/w/APP.TXT", "/w/APP.ini"},
        {"/w/app.Txt", "/w/app.ini"},
        {"/docs.txt/list.txt", "/docs.txt/list.ini"},
        {"/w/list.dat", "/w/list.dat"},
        {"/w/list.txtx", "/w/list.inix"},   // ".txt" within the last five characters
        {"/w/list.txtxx", "/w/list.txtxx"}, // beyond them
        {".txt", ".ini"},
        {"txt", "txt"},
        {"", ""},
        // Five characters, not five bytes: each Chinese character is one.
        {"/w/.txt汉字", "/w/.txt汉字"},
        {"/w/a.txt汉", "/w/a.ini汉"},
        {"/w/汉字.txt", "/w/汉字.ini"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(iniPathFor(in).native(), out) << in;
}

} // namespace
} // namespace kestrin
