#include "TemporaryName.h"

namespace {

constexpr std::string_view Alphabet = "0123456789abcdefghijklmnopqrstuvwxyz";

} // namespace

std::string TemporaryName::make(std::mt19937_64& random)
{
    std::string name(Prefix);
    std::uint64_t bits = random();
    for (std::size_t i = 0; i < RandomLength; ++i) {
        name += Alphabet[bits % Alphabet.size()];
        bits /= Alphabet.size();
    }
    return name;
}

bool TemporaryName::matches(std::string_view name)
{
    if (name.size() != Prefix.size() + RandomLength || name.substr(0, Prefix.size()) != Prefix)
        return false;
    for (const char c : name.substr(Prefix.size())) {
        if (Alphabet.find(c) == std::string_view::npos)
            return false;
    }
    return true;
}

std::string TemporaryName::besideTarget(std::string_view target, std::mt19937_64& random)
{
    constexpr std::size_t NameLimit = 255;
    if (1 + target.size() + Prefix.size() + RandomLength > NameLimit)
        return {};
    return "." + std::string(target) + make(random);
}

bool TemporaryName::matchesBesideTarget(std::string_view name, std::string_view target)
{
    return name.size() > 1 + target.size() && name.front() == '.' &&
           name.substr(1, target.size()) == target && matches(name.substr(1 + target.size()));
}
