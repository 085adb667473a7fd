#include "core/code_page.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <memory>
#include <stdexcept>

namespace kestrin {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};

// One converter per thread: ICU converters keep state and are not shared.
UConverter* gbkConverter() {
    thread_local std::unique_ptr<UConverter, ConverterCloser> converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* c = ucnv_open("windows-936", &status);
        if (U_FAILURE(status) || c == nullptr) throw std::runtime_error("code page 936 converter missing");
        ucnv_setSubstChars(c, "?", 1, &status);
        return std::unique_ptr<UConverter, ConverterCloser>(c);
    }();
    ucnv_reset(converter.get());
    return converter.get();
}

} // namespace

std::u16string cp936ToUtf16(std::string_view bytes) {
    if (bytes.empty()) return {};
    UConverter* c = gbkConverter();
    std::u16string out(bytes.size() + 1, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                                    static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(n) + 1, u'\0');
            status = U_ZERO_ERROR;
            ucnv_reset(c);
            ucnv_toUChars(c, out.data(), static_cast<int32_t>(out.size()), bytes.data(),
                          static_cast<int32_t>(bytes.size()), &status);
        } else {
            return {};
        }
    }
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::string utf16ToCp936(std::u16string_view text) {
    if (text.empty()) return {};
    UConverter* c = gbkConverter();
    std::string out(text.size() * 2 + 1, '\0');
    UErrorCode status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()), text.data(),
                                      static_cast<int32_t>(text.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            out.assign(static_cast<std::size_t>(n) + 1, '\0');
            status = U_ZERO_ERROR;
            ucnv_reset(c);
            ucnv_fromUChars(c, out.data(), static_cast<int32_t>(out.size()), text.data(),
                            static_cast<int32_t>(text.size()), &status);
        } else {
            return {};
        }
    }
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    if (bytes.empty()) return {};
    std::u16string out(bytes.size() + 1, u'\0');
    int32_t n = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &n,
                         bytes.data(), static_cast<int32_t>(bytes.size()), 0xFFFD, nullptr, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    if (text.empty()) return {};
    std::string out(text.size() * 3 + 1, '\0');
    int32_t n = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &n,
                       reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()), 0xFFFD,
                       nullptr, &status);
    if (U_FAILURE(status)) return {};
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::string cp936ToUtf8(std::string_view bytes) { return utf16ToUtf8(cp936ToUtf16(bytes)); }
std::string utf8ToCp936(std::string_view bytes) { return utf16ToCp936(utf8ToUtf16(bytes)); }

std::string utf16ToLeBytes(std::u16string_view text) {
    std::string out(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<char>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return out;
}

std::u16string leBytesToUtf16(std::string_view bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return out;
}

} // namespace kestrin
