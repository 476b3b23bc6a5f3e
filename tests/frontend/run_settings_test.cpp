// The options of a run without an experiment file, and the experiment file made from them and
// from a reflection file's header.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/cli_inputs.hpp"
#include "frontend/cli_options.hpp"
#include "frontend/experiment_text.hpp"

namespace vorlane::frontend {
namespace {

CliParse parse(std::vector<std::string> args) { return parse_cli(args); }

TEST(RunSettings, OptionsAndTheirErrors) {
  const CliParse p = parse({"--cell", "7.448", "8.302", "28.56", "90", "91.12", "90", "--wavelength",
                            "mo", "--spacegroup", "P 21/c", "--twotheta-min=2", "--twotheta-max",
                            "55.5", "--no-rejection", "--less-than", "3", "--write-exp", "a.exp",
                            "data.hkl"});
  ASSERT_EQ(p.error, "");
  const RunSettings& s = p.options.settings;
  EXPECT_EQ(p.options.input_file, "data.hkl");
  EXPECT_EQ(p.options.output_file, "");
  EXPECT_EQ(p.options.exp_file, "");
  EXPECT_EQ((*s.cell)[4], 91.12);
  EXPECT_EQ(*s.wavelength, 0.71073);
  EXPECT_EQ(s.space_group, "P 21/c");
  EXPECT_EQ(*s.twotheta_min, 2.0);
  EXPECT_EQ(*s.twotheta_max, 55.5);
  EXPECT_TRUE(s.no_rejection);
  EXPECT_EQ(*s.less_than, 3.0);
  EXPECT_EQ(s.write_exp, "a.exp");
  EXPECT_EQ(*parse({"--cell=1,2,3,90,90,120", "--wavelength=Ag", "x.hkl", "y.hkl"}).options.settings.cell,
            (std::array<double, 6>{1, 2, 3, 90, 90, 120}));
  EXPECT_EQ(*anode_wavelength("Cu"), 1.54184);
  EXPECT_EQ(*anode_wavelength("AG"), 0.56087);
  EXPECT_FALSE(anode_wavelength("W"));
  EXPECT_EQ(parse({"--in-format", "xds", "XDS_ASCII.HKL"}).options.in_format, IN_FORMAT_XDS);
  EXPECT_EQ(parse({"--out-format", "mtz", "a.hkl"}).options.out_format, OUT_FORMAT_MTZ);

  const struct {
    std::vector<std::string> args;
    const char* error;
  } bad[] = {
      {{"--cell", "1", "2", "3", "90", "90"}, "option --cell needs six numbers: a b c alpha beta gamma"},
      {{"--cell", "1", "2", "3", "90", "190", "90", "x.hkl"},
       "option --cell: '190' is not a cell angle (0 to 180 degrees)"},
      {{"--wavelength", "W", "x.hkl"},
       "option --wavelength takes a wavelength in Angstrom or Mo, Cu, Ag, not 'W'"},
      {{"--less-than", "-1", "x.hkl"},
       "option --less-than takes a number of sigmas (0 or more), not '-1'"},
      {{"--no-rejection=yes", "x.hkl"}, "option --no-rejection takes no value"},
      {{"--in-format", "hkl", "x.hkl"},
       "option --in-format takes zezor, shelx, xds, cif or mtz, not 'hkl'"},
      {{"--out-format", "xds", "x.hkl"}, "option --out-format takes zezor, shelx or mtz, not 'xds'"},
      {{"--cell", "1", "2", "3", "90", "90", "90", "e.exp", "p.prt", "x.hkl", "o.hkl"},
       "option --cell is for a run without an experiment file (INFILE [OUTFILE]); with EXPFILE "
       "give it as a card"},
      {{"a", "b", "c"},
       "expected 4 files (EXPFILE PRINTFILE INFILE OUTFILE) or 1 or 2 (INFILE [OUTFILE]), got 3"},
  };
  for (const auto& b : bad) {
    SCOPED_TRACE(b.error);
    EXPECT_EQ(parse(b.args).error, b.error);
  }
}

TEST(RunSettings, FileNamesOfARunWithoutExperimentFile) {
  EXPECT_EQ(default_output_file("dir/XDS_ASCII.HKL", false), "dir/XDS_ASCII_merged.hkl");
  EXPECT_EQ(default_output_file("data.hkl", true), "data_merged.mtz");
  EXPECT_EQ(default_output_file("a.b.mtz", false), "a.b_merged.hkl");
  EXPECT_EQ(print_file_beside("dir/XDS_ASCII_merged.hkl"), "dir/XDS_ASCII_merged.lis");
  EXPECT_EQ(print_file_beside("out.merged.hkl"), "out.lis");
  EXPECT_TRUE(mtz_output(-1, "x.MTZ"));
  EXPECT_FALSE(mtz_output(1, "x.mtz"));
  EXPECT_TRUE(mtz_output(OUT_FORMAT_MTZ, "x.hkl"));
}

input::FileHeader xds_header() {
  input::FileHeader h;
  h.cell = std::array<input::HeaderValue, 6>{{{10.0, 0.0005},
                                              {12.0, 0.0005},
                                              {15.0, 0.0005},
                                              {90.0, 0.0005},
                                              {95.0, 0.0005},
                                              {90.0, 0.0005}}};
  h.wavelength = input::HeaderValue{0.71073, 0.0000005};
  h.space_group_number = 14;
  h.friedel_law = false;
  return h;
}

TEST(RunSettings, ExperimentTextFromOptionsThenHeader) {
  RunSettings s;
  s.wavelength = 1.54184;
  s.less_than = 3.0;
  s.twotheta_max = 60.0;
  s.no_rejection = true;
  const input::FileHeader h = xds_header();
  const ExperimentText e = experiment_text(s, &h, "the XDS_ASCII header of X.HKL", "X.HKL");
  EXPECT_EQ(e.error, "");
  EXPECT_EQ(e.text,
            "TITLE  X.HKL\n"
            "CELL  10 12 15 90 95 90\n"
            "WAVEL 1 1.54184\n"
            "VORLAN SPACEGROUP 14\n"
            "VORLAN FRIEDEL NOFLIP\n"
            "VORLAN OUTLIER NONE\n"
            "VORLAN LESSTHAN 3\n"
            "VORLAN 2THETA MAX 60\n");
  EXPECT_EQ(e.sources.cell, "the XDS_ASCII header of X.HKL");
  EXPECT_EQ(e.sources.wavelength, "the option --wavelength");
  EXPECT_EQ(e.sources.symmetry, "the XDS_ASCII header of X.HKL");

  // What neither gives is an error naming the option.
  EXPECT_EQ(experiment_text(RunSettings{}, nullptr, "", "d.hkl").error,
            "no cell: give --cell a b c alpha beta gamma");
  input::FileHeader no_group = h;
  no_group.space_group_number = 0;
  EXPECT_EQ(experiment_text(RunSettings{}, &no_group, "the MTZ header of m.mtz", "m.mtz").error,
            "no space group: give --spacegroup SYMBOL|NUMBER, or --spacegroup auto (the MTZ header of "
            "m.mtz gives none)");
  input::FileHeader no_wave = h;
  no_wave.wavelength.reset();
  EXPECT_EQ(experiment_text(RunSettings{}, &no_wave, "the H", "m").error,
            "no wavelength: give --wavelength (in Angstrom, or Mo, Cu, Ag) (the H gives none)");
  // A cell from single precision is written as single precision's shortest text.
  EXPECT_EQ(card_number(static_cast<double>(7.7192f)), "7.7192");
  EXPECT_EQ(card_number(0.71073), "0.71073");
}

TEST(RunSettings, ExperimentFileCompletedFromTheHeader) {
  const input::FileHeader h = xds_header();
  const std::string name = "the XDS_ASCII header of X.HKL";
  // Nothing given: every card from the header.
  ExperimentText e = completed_experiment_text("TITLE  t\nVORLAN OUTLIER NONE", h, name);
  EXPECT_EQ(e.text,
            "TITLE  t\nVORLAN OUTLIER NONE\nCELL  10 12 15 90 95 90\nWAVEL 1 0.71073\n"
            "VORLAN SPACEGROUP 14\nVORLAN FRIEDEL NOFLIP\n");
  EXPECT_EQ(e.sources.wavelength, name);
  // Agreeing within the precision of both: nothing said, nothing added.
  e = completed_experiment_text(
      "CELL  10.0003 12.0 15.0 90 95 90\nWAVEL 1 0.71073\nVORLAN SPACEGROUP P 1 21/c 1\n"
      "VORLAN FRIEDEL NOFLIP\n",
      h, name);
  EXPECT_TRUE(e.notes.empty()) << e.notes.front();
  EXPECT_EQ(e.sources.cell, "");
  // Disagreeing: the experiment file's value stands, with a note.
  e = completed_experiment_text(
      "cell  10.01 12.0 15.0 90 95 90\nWAVEL 1 0.7093\nVORLAN SPACEGROUP P 21 21 21\n", h, name);
  const std::vector<std::string> notes = {
      "CELL card and the XDS_ASCII header differ (a 10.01 against 10): the CELL card is used",
      "WAVEL card and the XDS_ASCII header differ (0.7093 against 0.71073 A): the WAVEL card is used",
      "SPACEGROUP card (No. 19) and the XDS_ASCII header (No. 14) differ: the card is used",
      "Friedel mates kept apart: the XDS_ASCII header says FRIEDEL'S_LAW=FALSE"};
  // Every note fits the 100 columns of a warning.
  for (const std::string& note : e.notes) EXPECT_LE(note.size(), 100u) << note;
  EXPECT_EQ(e.notes, notes);
  EXPECT_EQ(e.text.find("CELL  10 12"), std::string::npos);
}

}  // namespace
}  // namespace vorlane::frontend
