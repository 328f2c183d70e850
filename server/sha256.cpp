#include "sha256.h"

#include <openssl/evp.h>

#include <array>
#include <stdexcept>

namespace torvel {

void Sha256::ContextDeleter::operator()(evp_md_ctx_st* context) const
{
    ::EVP_MD_CTX_free(context);
}

Sha256::Sha256() : m_context(::EVP_MD_CTX_new())
{
    if (!m_context || ::EVP_DigestInit_ex(m_context.get(), ::EVP_sha256(), nullptr) != 1)
        throw std::runtime_error("cannot start a SHA-256 digest");
}

Sha256::~Sha256() = default;

void Sha256::Add(std::string_view bytes)
{
    if (::EVP_DigestUpdate(m_context.get(), bytes.data(), bytes.size()) != 1)
        throw std::runtime_error("SHA-256 digest failed");
}

std::string Sha256::HexDigest()
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    if (::EVP_DigestFinal_ex(m_context.get(), digest.data(), &length) != 1)
        throw std::runtime_error("SHA-256 digest failed");
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (unsigned int index = 0; index < length; ++index) {
        text += kDigits[digest[index] >> 4];
        text += kDigits[digest[index] & 0x0f];
    }
    return text;
}

}  // namespace torvel
