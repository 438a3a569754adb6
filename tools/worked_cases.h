#pragma once

#include <utility>
#include <vector>

// A worked case of each calculation screen, with values the tests check: the
// main-menu button that opens the screen, the texts typed into its fields and
// the controls clicked before "计算". The screenshots and the benchmark use them.
struct WorkedInputs
{
    const char *code;
    const char *opener;
    std::vector<std::pair<const char *, const char *>> fields;
    std::vector<const char *> clicks;
};

inline const std::vector<WorkedInputs> &workedInputs()
{
    static const std::vector<WorkedInputs> all{
        {"xd",
         "Command5",
         {{"Text2", "100"}, {"Text3", "1.5E-5"}, {"Text4", "288"}, {"Text5", "0.72"}, {"Text1", "2"}},
         {"Check1", "Option4"}},
        {"gyxd",
         "Command6",
         {{"Text1", "400"},
          {"Text3", "2"},
          {"Text5", "0.72"},
          {"Text6", "1.5E-5"},
          {"Text7", "288"},
          {"Text8", "1000"},
          {"Text4", "300"}},
         {"Check1", "Option4"}},
        {"fxgj",
         "Command4",
         {{"Text1", "1"}, {"Text2", "2"}, {"Text3", "0.000015"}, {"Text4", "0.7"}, {"Text5", "288"}},
         {}},
        {"ll", "Command2", {{"Text1", "10000"}, {"Text2", "0.9"}, {"Text3", "2930000"}, {"Text4", "35000"}}, {}},
        {"lll", "Command7", {{"Text1", "150"}, {"Text2", "1.5"}}, {}},
        {"yl", "Command3", {{"Text1", "2500"}, {"Text2", "1500"}, {"Text3", "400"}}, {}},
        {"yt", "Command8", {{"Text1", "0.7"}, {"Text2", "10"}}, {}},
        {"jb", "Command1", {{"Text1", "10"}, {"Text2", "0.75"}, {"Text3", "288"}, {"Text4", "2"}, {"Text5", "20"}}, {}},
        {"bh", "Command9", {{"Text1", "500"}, {"Text2", "4"}, {"Text3", "1"}}, {}},
    };
    return all;
}
