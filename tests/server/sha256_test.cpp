#include "sha256.h"

#include <gtest/gtest.h>

namespace torvel {
namespace {

TEST(Sha256, GivesTheStandardDigests)
{
    struct Case {
        std::string bytes;
        std::size_t pieceSize;
        std::string digest;
    };
    const Case cases[] = {
        {"", 1, "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", 1, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", 7,
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), 65536, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [bytes, pieceSize, digest] : cases) {
        Sha256 sha256;
        for (std::size_t start = 0; start < bytes.size(); start += pieceSize)
            sha256.Add(std::string_view(bytes).substr(start, pieceSize));
        EXPECT_EQ(sha256.HexDigest(), digest) << bytes.size() << " bytes";
    }
}

}  // namespace
}  // namespace torvel
