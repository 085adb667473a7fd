#pragma once

// Whole-file reads and crash-safe whole-file writes.
//
// Reads never fail visibly: a missing or unreadable file gives empty content
// (use tryReadFileBytes where a job must tell a failed read from an empty
// file). Every write goes to a temporary file in the target's folder, is
// flushed and synced, and is then renamed over the target, so the target is
// always either its old or its new content. A replaced file keeps its
// permission bits.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

// Opens a regular file for reading and gives its size; -1 when the path is
// empty, cannot be opened or is not a regular file. The caller closes it.
int openRegularFile(const std::filesystem::path& path, std::uint64_t& size);

std::string readFileBytes(const std::filesystem::path& path);
std::optional<std::string> tryReadFileBytes(const std::filesystem::path& path);
// The file's bytes before its first zero byte.
std::string readFileText(const std::filesystem::path& path);

// Writes the parts one after the other as the new content of path. Returns
// false (and leaves the target untouched) when the path is empty or any step
// fails.
bool writeFileAtomic(const std::filesystem::path& path, std::initializer_list<std::string_view> parts);
bool writeFileAtomic(const std::filesystem::path& path, std::string_view content);

// Copies source over target with the same crash-safe write; false when the
// source cannot be read or the target cannot be written.
bool copyFileAtomic(const std::filesystem::path& source, const std::filesystem::path& target);

bool fileExists(const std::filesystem::path& path);
void deleteFile(const std::filesystem::path& path);

// The path as UTF-8 text for messages.
std::string pathText(const std::filesystem::path& path);
// The path with a suffix appended to its last component ("x.exe" + ".BAK").
std::filesystem::path appendToPath(const std::filesystem::path& path, std::string_view suffix);

// "写入文件“<path>”失败！原文件未被修改。"
std::string writeFailedMessage(const std::filesystem::path& path);

// The user's temporary folder (TMPDIR, else the system's).
std::filesystem::path temporaryFolder();

// Test hook: when set, called before each stage of a write (the write stage
// once for every piece written); returning false makes that stage fail as a
// full disk or a refused rename would.
enum class WriteStage { Create, Write, Sync, Rename };
using WriteFaultHook = std::function<bool(WriteStage, const std::filesystem::path& target)>;
void setWriteFaultHook(WriteFaultHook hook);

} // namespace kestrin
