#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Pipe catalogues (管材规格): the nominal sizes of each material with the inner
// diameter the formulas compute with. The catalogue of a design is editable, so
// every look-up takes any list of sizes, not only the defaults.
namespace pd {

// Inner diameter (mm) of a pipe from its outside diameter and wall, to the hundredth of a
// millimetre, so that 21.3 - 2 x 2.8 is 15.7 and not 15.700000000000001.
constexpr double InnerDiameter(double outside, double wall)
{
    const double hundredths = (outside - 2 * wall) * 100;
    // Past 2^52 a double has no fraction left to round, and the cast would overflow (or meet a NaN).
    if (!(hundredths > -0x1p52 && hundredths < 0x1p52))
        return outside - 2 * wall;
    return double(static_cast<long long>(hundredths + (hundredths < 0 ? -0.5 : 0.5))) / 100;
}

// One size of a default catalogue; outside and wall 0 where only the bore is stated.
struct NominalSize
{
    std::string_view name;
    double outside;
    double wall;
    double inner;
};

constexpr NominalSize walled(std::string_view name, double outside, double wall)
{
    return {name, outside, wall, InnerDiameter(outside, wall)};
}
constexpr NominalSize bored(std::string_view name, double inner)
{
    return {name, 0, 0, inner};
}

// Steel pipes: outside diameter x wall.
// clang-format off
inline constexpr std::array kSteelSizes{
    walled("DN15", 21.3, 2.8),   walled("DN20", 26.9, 2.8),   walled("DN25", 33.7, 3.2),
    walled("DN32", 42.4, 3.5),   walled("DN40", 48.3, 3.5),   walled("DN50", 60.3, 3.8),
    walled("DN65", 76.1, 4.0),   walled("DN80", 88.9, 4.0),   walled("DN100", 114.3, 4.0),
    walled("DN125", 139.7, 4.0), walled("DN150", 168.3, 4.5), walled("DN200", 219.1, 6.0),
    walled("DN250", 273.0, 6.5), walled("DN300", 323.9, 7.0), walled("DN350", 355.6, 8.0),
    walled("DN400", 406.4, 8.0), walled("DN450", 457, 8.0),   walled("DN500", 508, 9.0),
};
// Cast-iron pipes are computed on their nominal bore; their outside diameter and wall
// depend on the pipe class and are not stated.
inline constexpr std::array kCastIronSizes{
    bored("DN75", 75),   bored("DN100", 100), bored("DN150", 150), bored("DN200", 200), bored("DN250", 250),
    bored("DN300", 300), bored("DN350", 350), bored("DN400", 400), bored("DN450", 450), bored("DN500", 500),
};
// PE pipes of SDR 11: the name is the outside diameter.
inline constexpr std::array kPlasticSizes{
    walled("dn32", 32, 3.0),   walled("dn40", 40, 3.7),   walled("dn50", 50, 4.6),   walled("dn63", 63, 5.8),
    walled("dn75", 75, 6.8),   walled("dn90", 90, 8.2),   walled("dn110", 110, 10.0), walled("dn125", 125, 11.4),
    walled("dn140", 140, 12.7), walled("dn160", 160, 14.6), walled("dn180", 180, 16.4), walled("dn200", 200, 18.2),
    walled("dn225", 225, 20.5), walled("dn250", 250, 22.7), walled("dn280", 280, 25.4), walled("dn315", 315, 28.6),
};
// clang-format on

// A row of a catalogue as a design keeps it; the name as the user typed it (UTF-8).
struct PipeSize
{
    std::string name;
    double outside = 0;
    double wall = 0;
    double inner = 0;

    bool operator==(const PipeSize &) const = default;
};

// The default sizes of a material (0 steel, 1 cast iron, 2 plastic), smallest first; empty for any other.
std::span<const NominalSize> DefaultSizes(int material);
// The same as rows a design can keep and edit.
std::vector<PipeSize> DefaultCatalogue(int material);

// A nominal name: "DN100", "dn110", "DN 100"; "De110", the outside diameter of a plastic
// pipe, reads as dn110. The name keeps the letters' case as typed, for display.
struct NominalName
{
    std::string name;
    int size;
};
// The nominal name a text holds, blanks around it aside; empty when the text is anything else,
// a plain number of millimetres among others.
std::optional<NominalName> ParseNominalName(std::string_view text);

// The index of the size a text names in a catalogue: nominal names match by their number
// whatever the case ("dn100" and "De100" find DN100), other names as typed, blanks around them
// and the letters' case aside. Empty when none matches; of equal names the first.
std::optional<std::size_t> FindSize(std::span<const PipeSize> catalogue, std::string_view text);

} // namespace pd
