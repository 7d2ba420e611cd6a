#pragma once

#include "PageCipher.h"

#include <cstdio>
#include <memory>
#include <string>

namespace tabulon {

// A read-only stdio stream over an encrypted .accdb that reads as the plain database: every page n >= 1
// is decrypted when it is read, page 0 is served as stored except that its database key reads as 0,
// so libmdb applies no Jet page decoding on top. A tail shorter than a page is left out (it cannot be
// decrypted). Nothing decrypted is written anywhere; closing the stream closes the file and wipes the
// pages it kept. Any offset and length can be read, in any order.
// Raises 3051 naming the file when it cannot be opened.
std::FILE* openDecryptingStream(const std::string& path, std::unique_ptr<PageCipher> cipher, std::size_t pageSize);

} // namespace tabulon
