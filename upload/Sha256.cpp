#include "Sha256.h"

namespace {

constexpr std::uint32_t RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t rotateRight(std::uint32_t value, int count)
{
    return (value >> count) | (value << (32 - count));
}

std::string digestOf(std::string_view bytes)
{
    Sha256 sha;
    sha.add(bytes);
    const auto digest = sha.finish();
    return std::string(digest.begin(), digest.end());
}

} // namespace

Sha256::Sha256()
    : m_state{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
              0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19}
{}

void Sha256::add(std::string_view bytes)
{
    m_length += bytes.size();
    for (const char byte : bytes) {
        m_block[m_filled++] = static_cast<std::uint8_t>(byte);
        if (m_filled == m_block.size()) {
            compress(m_block.data());
            m_filled = 0;
        }
    }
}

std::array<std::uint8_t, 32> Sha256::finish()
{
    const std::uint64_t bits = m_length * 8;
    add(std::string_view("\x80", 1));
    while (m_filled != 56)
        add(std::string_view("\0", 1));
    char length[8];
    for (int i = 0; i < 8; ++i)
        length[i] = static_cast<char>(bits >> (56 - 8 * i));
    add(std::string_view(length, 8));
    std::array<std::uint8_t, 32> digest{};
    for (std::size_t i = 0; i < 32; ++i)
        digest[i] = static_cast<std::uint8_t>(m_state[i / 4] >> (24 - 8 * (i % 4)));
    return digest;
}

void Sha256::compress(const std::uint8_t* block)
{
    std::uint32_t words[64];
    for (int i = 0; i < 16; ++i)
        words[i] = std::uint32_t(block[4 * i]) << 24 | std::uint32_t(block[4 * i + 1]) << 16 |
                   std::uint32_t(block[4 * i + 2]) << 8 | std::uint32_t(block[4 * i + 3]);
    for (int i = 16; i < 64; ++i) {
        const std::uint32_t s0 =
            rotateRight(words[i - 15], 7) ^ rotateRight(words[i - 15], 18) ^ (words[i - 15] >> 3);
        const std::uint32_t s1 =
            rotateRight(words[i - 2], 17) ^ rotateRight(words[i - 2], 19) ^ (words[i - 2] >> 10);
        words[i] = words[i - 16] + s0 + words[i - 7] + s1;
    }
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    std::uint32_t e = m_state[4], f = m_state[5], g = m_state[6], h = m_state[7];
    for (int i = 0; i < 64; ++i) {
        const std::uint32_t s1 = rotateRight(e, 6) ^ rotateRight(e, 11) ^ rotateRight(e, 25);
        const std::uint32_t choice = (e & f) ^ (~e & g);
        const std::uint32_t t1 = h + s1 + choice + RoundConstants[i] + words[i];
        const std::uint32_t s0 = rotateRight(a, 2) ^ rotateRight(a, 13) ^ rotateRight(a, 22);
        const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
        h = g;
        g = f;
        f = e;
        e = d + t1;
        d = c;
        c = b;
        b = a;
        a = t1 + s0 + majority;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
    m_state[5] += f;
    m_state[6] += g;
    m_state[7] += h;
}

std::string Sha256::hex(std::string_view bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const char byte : digestOf(bytes)) {
        text += Digits[static_cast<std::uint8_t>(byte) >> 4];
        text += Digits[static_cast<std::uint8_t>(byte) & 15];
    }
    return text;
}

std::string Sha256::base64(std::string_view bytes)
{
    static constexpr char Alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string digest = digestOf(bytes);
    std::string text;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (const char byte : digest) {
        buffer = buffer << 8 | static_cast<std::uint8_t>(byte);
        bits += 8;
        while (bits >= 6) {
            bits -= 6;
            text += Alphabet[(buffer >> bits) & 63];
        }
    }
    if (bits > 0)
        text += Alphabet[(buffer << (6 - bits)) & 63];
    return text;
}
