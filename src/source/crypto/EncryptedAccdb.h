#pragma once

#include "PageCipher.h"
#include "source/PageZero.h"

#include <memory>
#include <string_view>

namespace tabulon {

// Checks `password` against the encrypted .accdb described by `header` (an ACE file with a database key)
// and returns the keys of its pages. The password takes no part in any message.
// Raises 3031 "Not a valid password." when it does not verify (the empty one included), 1000 naming the
// file and the scheme when the scheme is not supported, 3343 naming the file when the encryption header
// is damaged, 3051 when the file cannot be read.
std::shared_ptr<const PageCipher> unlockEncryptedAccdb(const DatabaseHeader& header, std::string_view password);

// Makes `mdbHandle` (an MdbHandle*, just opened by mdb_open on that file) read every page decrypted with `cipher`:
// libmdb then sees a plain database (its Jet page decoding is switched off). The decryption is done page by page as
// libmdb reads, whatever the file's size; nothing decrypted is kept beyond a few pages or written anywhere.
// Raises 3051 naming the file when it cannot be opened again.
void readDecrypted(void* mdbHandle, const DatabaseHeader& header, std::unique_ptr<PageCipher> cipher);

} // namespace tabulon
