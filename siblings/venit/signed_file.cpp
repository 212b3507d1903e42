#include "siblings/venit/signed_file.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/file.h"
#include "platform/file_position.h"
#include "siblings/venit/signature_format.h"

namespace Util::signature {

namespace {

// The content BIO's state: the file and how many content bytes are still to be read.
struct ContentRange {
    HANDLE file;
    std::uint64_t remaining;
};

int ReadContent(BIO* bio, char* out, std::size_t wanted, std::size_t* done) {
    auto* range = static_cast<ContentRange*>(BIO_get_data(bio));
    *done = 0;
    if (range->remaining == 0) {
        return 0;
    }
    const auto size = static_cast<DWORD>(
        std::min<std::uint64_t>({wanted, range->remaining, std::uint64_t{1} << 20U}));
    DWORD count = 0;
    if (hvx::os::ReadFile(range->file, out, size, &count) == FALSE || count == 0) {
        return 0;
    }
    range->remaining -= count;
    *done = count;
    return 1;
}

long ContentControl(BIO* bio, int command, long /*number*/, void* /*pointer*/) {
    const auto* range = static_cast<const ContentRange*>(BIO_get_data(bio));
    switch (command) {
        case BIO_CTRL_EOF:
            return range->remaining == 0 ? 1 : 0;
        case BIO_CTRL_FLUSH:
            return 1;
        default:
            return 0;
    }
}

int DestroyContent(BIO* bio) {
    delete static_cast<ContentRange*>(BIO_get_data(bio));
    BIO_set_data(bio, nullptr);
    return 1;
}

// The method is made once per process and kept: OpenSSL holds on to it while BIOs live.
const BIO_METHOD* ContentMethod() {
    static BIO_METHOD* const method = [] {
        BIO_METHOD* made =
            BIO_meth_new(BIO_get_new_index() | BIO_TYPE_SOURCE_SINK, "signed file content");
        if (made != nullptr) {
            BIO_meth_set_read_ex(made, ReadContent);
            BIO_meth_set_ctrl(made, ContentControl);
            BIO_meth_set_destroy(made, DestroyContent);
        }
        return made;
    }();
    return method;
}

}  // namespace

SignedFile::SignedFile(const char16_t* path)
    : m_file(hvx::os::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL)) {}

SignedFile::~SignedFile() {
    if (m_file != INVALID_HANDLE_VALUE) {
        hvx::os::CloseHandle(m_file);
    }
}

bool SignedFile::ReadAt(std::int64_t offset, unsigned char* out, std::size_t size) {
    if (hvx::os::SetFilePointerEx(m_file, offset, nullptr, FILE_BEGIN) == FALSE) {
        return false;
    }
    std::size_t done = 0;
    while (done < size) {
        DWORD count = 0;
        if (hvx::os::ReadFile(m_file, out + done, static_cast<DWORD>(size - done), &count) ==
                FALSE ||
            count == 0) {
            return false;
        }
        done += count;
    }
    return true;
}

std::string SignedFile::ReadSignature() {
    std::int64_t size = 0;
    if (m_file == INVALID_HANDLE_VALUE || hvx::os::GetFileSizeEx(m_file, &size) == FALSE) {
        return "the file cannot be read";
    }
    std::array<unsigned char, kTrailerSize> trailer{};
    if (size < static_cast<std::int64_t>(kTrailerSize) ||
        !ReadAt(size - static_cast<std::int64_t>(kTrailerSize), trailer.data(), trailer.size()) ||
        std::memcmp(trailer.data(), kMagic.data(), kMagic.size()) != 0) {
        return "the file is not signed";
    }
    const std::uint32_t signatureSize = GetLittleEndian32(trailer.data() + kMagic.size());
    if (GetLittleEndian32(trailer.data() + kMagic.size() + 4) != kFormatVersion) {
        return "the signature's format is unknown";
    }
    const std::int64_t signatureStart =
        size - static_cast<std::int64_t>(kTrailerSize) - signatureSize;
    if (signatureSize == 0 || signatureSize > kMaxSignatureSize || signatureStart < 0) {
        return "the signature's size is out of range";
    }
    m_signature.resize(signatureSize);
    if (!ReadAt(signatureStart, m_signature.data(), m_signature.size())) {
        return "the signature cannot be read";
    }
    m_contentSize = signatureStart;
    return {};
}

BioPtr SignedFile::ContentBio() {
    const BIO_METHOD* method = ContentMethod();
    if (method == nullptr || hvx::os::SetFilePointerEx(m_file, 0, nullptr, FILE_BEGIN) == FALSE) {
        return nullptr;
    }
    BioPtr bio(BIO_new(method));
    if (!bio) {
        return nullptr;
    }
    BIO_set_data(bio.get(), new ContentRange{m_file, static_cast<std::uint64_t>(m_contentSize)});
    BIO_set_init(bio.get(), 1);
    return bio;
}

}  // namespace Util::signature
