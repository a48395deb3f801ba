#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// SHA-256 of bytes given in pieces. Own code rather than a crypto library so
// that the manifest works the same in the Windows build, which has none.
class Sha256
{
public:
    Sha256();

    void add(std::string_view bytes);
    // The 32 bytes of the digest; the object is spent afterwards.
    std::array<std::uint8_t, 32> finish();

    // The digest as 64 lower-case hexadecimal digits.
    static std::string hex(std::string_view bytes);
    // The digest as unpadded Base64, as ssh-keygen shows fingerprints.
    static std::string base64(std::string_view bytes);

private:
    void compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_filled = 0;
    std::uint64_t m_length = 0;
};
