#include "catalogue.h"

#include <charconv>

namespace pd {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameLetters(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

std::span<const NominalSize> DefaultSizes(int material)
{
    switch (material) {
    case 0:
        return kSteelSizes;
    case 1:
        return kCastIronSizes;
    case 2:
        return kPlasticSizes;
    default:
        return {};
    }
}

std::vector<PipeSize> DefaultCatalogue(int material)
{
    std::vector<PipeSize> rows;
    for (const NominalSize &size : DefaultSizes(material))
        rows.push_back({std::string(size.name), size.outside, size.wall, size.inner});
    return rows;
}

std::optional<NominalName> ParseNominalName(std::string_view text)
{
    text = trimmed(text);
    if (text.size() < 3)
        return std::nullopt;
    const std::string_view prefix = text.substr(0, 2);
    const bool outside = sameLetters(prefix, "de");
    if (!outside && !sameLetters(prefix, "dn"))
        return std::nullopt;
    const std::string_view digits = trimmed(text.substr(2));
    int size = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), size);
    // Digits only: "DN100.5", "DN-100" and "DN1e3" are no names, and a size beyond int is none either.
    if (error != std::errc() || end != digits.data() + digits.size() || digits.front() < '0' || size <= 0)
        return std::nullopt;
    std::string name(outside ? "dn" : prefix);
    name.append(std::to_string(size));
    return NominalName{std::move(name), size};
}

std::optional<std::size_t> FindSize(std::span<const PipeSize> catalogue, std::string_view text)
{
    const std::optional<NominalName> nominal = ParseNominalName(text);
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        if (nominal) {
            const std::optional<NominalName> row = ParseNominalName(catalogue[i].name);
            if (row && row->size == nominal->size)
                return i;
        } else if (sameLetters(trimmed(catalogue[i].name), trimmed(text))) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace pd
