#include "TextCodec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace tabulon {

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

void appendCodePoint(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The characters of a compressed segment are the low bytes of UTF-16 units (Latin-1).
void appendLatin1(const std::uint8_t* data, std::size_t size, std::string& out) {
    // Room for the worst case (two UTF-8 bytes each) made once, filled in place, then cut to size.
    const std::size_t start = out.size();
    out.resize(start + 2 * size);
    char* p = out.data() + start;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t c = data[i];
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else {
            *p++ = static_cast<char>(0xC0 | (c >> 6));
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

bool isCp1252Gap(unsigned char byte) {
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

iconv_t openIconv(const char* to, const char* from) {
    return iconv_open(to, from);
}

std::string codePageName(std::uint16_t codePage) {
    return "CP" + std::to_string(codePage == 0 ? 1252 : codePage);
}

} // namespace

void appendUtf16LeAsUtf8(const std::uint8_t* data, std::size_t byteCount, std::string& out) {
    const std::size_t units = byteCount / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t u = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
        } else if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
            const char16_t low = static_cast<char16_t>(data[2 * i + 2] | (data[2 * i + 3] << 8));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendCodePoint(0x10000 + ((char32_t(u) - 0xD800) << 10) + (low - 0xDC00), out);
                ++i;
            } else {
                out += kReplacement;
            }
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            out += kReplacement;
        } else {
            appendCodePoint(u, out);
        }
    }
}

void decodeJetText(const std::uint8_t* data, std::size_t size, std::string& out) {
    out.clear();
    if (size < 2 || data[0] != 0xFF || data[1] != 0xFE) {
        appendUtf16LeAsUtf8(data, size, out);
        return;
    }
    // Compressed: starts in 1-byte mode; every 0x00 byte switches mode (as Access writes it).
    bool compressed = true;
    std::size_t start = 2;
    for (std::size_t i = 2; i <= size; ++i) {
        const void* zero = std::memchr(data + i, 0x00, size - i);
        i = zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data) : size;
        if (compressed)
            appendLatin1(data + start, i - start, out);
        else
            appendUtf16LeAsUtf8(data + start, i - start, out);
        compressed = !compressed;
        start = i + 1;
    }
}

std::u16string utf8ToUtf16(std::string_view text) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        char32_t c = 0xFFFD;
        std::size_t length = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b >> 5) == 0x6 && i + 1 < text.size()) {
            c = ((b & 0x1F) << 6) | (text[i + 1] & 0x3F);
            length = 2;
        } else if ((b >> 4) == 0xE && i + 2 < text.size()) {
            c = ((b & 0x0F) << 12) | ((text[i + 1] & 0x3F) << 6) | (text[i + 2] & 0x3F);
            length = 3;
        } else if ((b >> 3) == 0x1E && i + 3 < text.size()) {
            c = ((b & 0x07) << 18) | ((text[i + 1] & 0x3F) << 12) | ((text[i + 2] & 0x3F) << 6) | (text[i + 3] & 0x3F);
            length = 4;
        }
        i += length;
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::u16string encodeCodePage(const std::string& text, std::uint16_t codePage) {
    std::u16string out;
    iconv_t cd = openIconv(codePageName(codePage).c_str(), "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (unsigned char c : text)
            out.push_back(c < 0x80 ? c : 0xFFFF);
        return out;
    }
    std::string buffer(text.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = buffer.data();
    std::size_t outLeft = buffer.size();
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        out.push_back(0xFFFF); // a character the code page lacks can never match
    iconv_close(cd);
    for (char* p = buffer.data(); p < outPtr; ++p)
        out.push_back(static_cast<unsigned char>(*p));
    return out;
}

CodePageDecoder::CodePageDecoder(std::uint16_t codePage) : m_codePage(codePage == 0 ? 1252 : codePage) {
    iconv_t cd = openIconv("UTF-8", codePageName(m_codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        m_codePage = 1252;
        cd = openIconv("UTF-8", "CP1252");
    }
    m_iconv = cd;
}

CodePageDecoder::~CodePageDecoder() {
    if (m_iconv != reinterpret_cast<void*>(-1))
        iconv_close(static_cast<iconv_t>(m_iconv));
}

void CodePageDecoder::decode(const std::uint8_t* data, std::size_t size, std::string& out) {
    out.clear();
    std::size_t ascii = 0;
    while (ascii < size && data[ascii] < 0x80)
        ++ascii;
    out.append(reinterpret_cast<const char*>(data), ascii);
    if (ascii == size)
        return;
    const auto cd = static_cast<iconv_t>(m_iconv);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(data + ascii));
    std::size_t inLeft = size - ascii;
    const std::size_t done = out.size();
    out.resize(done + inLeft * 4 + 4);
    char* outPtr = out.data() + done;
    std::size_t outLeft = out.size() - done;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen: four output bytes per input byte are reserved
        // An undefined or incomplete byte: one replacement character, then go on after it. Code page
        // 1252 leaves 0x81, 0x8D, 0x8F, 0x90 and 0x9D undefined; Windows maps them to the C1 controls
        // of the same number, and so does this.
        if (outLeft < 3)
            break;
        const auto byte = static_cast<unsigned char>(*in);
        if (m_codePage == 1252 && isCp1252Gap(byte)) {
            *outPtr++ = static_cast<char>(0xC2);
            *outPtr++ = static_cast<char>(byte);
            outLeft -= 2;
        } else {
            for (const char c : std::string_view(kReplacement))
                *outPtr++ = c;
            outLeft -= 3;
        }
        ++in;
        --inLeft;
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
}

} // namespace tabulon
