#include "output/print_summary.hpp"

#include <string>
#include <string_view>

#include "records/edit_list.hpp"

namespace vorlane::output {

namespace {

// A file name as its 512-character blank-padded field is printed: up to and including the
// first blank of its first run of eight blanks.
std::string listed_name(const std::string& name) {
  std::string field = name;
  if (field.size() < 512) field.resize(512, ' ');
  const auto run = field.find("        ");
  return run == std::string::npos ? field : field.substr(0, run + 1);
}

}  // namespace

void PRINT_SUMMARY(run::RunState& rs) {
  const auto& ctl = rs.ctl;
  auto& prt = rs.files.print;
  using records::EditList;

  if (ctl.INOFLIP == 1) {
    prt.put(EditList(R"((/,5X,"Acentric space group and user request",)"
                     R"(" not to flip hkl to Friedel mate"))"));
  }

  std::string title = ctl.TITLE;
  title.resize(80, ' ');
  prt.put(EditList(R"((/,/,/,20("*"),"GENERAL CONTROLS",20("*"),/,/,4X,A80))"),
          std::string_view(title));

  // A file of an integration program is named with its format (it is read as SHELX records).
  const std::string input = listed_name(
      rs.files.FNAME[2] +
      (rs.files.integration_format.empty() ? "" : " (" + rs.files.integration_format + ")"));
  const std::string output = listed_name(rs.files.FNAME[3]);
  prt.put(EditList(R"((4X," INPUT DATAFILE: ",A,/,4X,"OUTPUT DATAFILE: ",A,/,/))"),
          std::string_view(input), std::string_view(output));

  prt.put(EditList(R"~((4X,"REJECTION LEVEL FOR LESS-THANS: ",F3.1," SIG(FSQ)"))~"), ctl.LTHRESH);

  if (ctl.IREJLT == 0) {
    prt.put(EditList(R"((4X,"AND LESS-THANS WILL BE WRITTEN TO OUTPUT DATAFILE",/))"));
  } else {
    prt.put(EditList(R"((4X,"LESS-THANS WILL NOT BE WRITTEN TO OUTPUT DATAFILE",/))"));
  }

  switch (ctl.IABSENT) {
    case 2:
      prt.put(EditList(R"((4X,"SPACE GROUP VIOLATIONS WILL BE DELETED"))"));
      break;
    case 0:
      prt.put(EditList(R"((4X,"SPACE GROUP VIOLATIONS WILL BE RETAINED"))"));
      break;
    case 1:
      prt.put(EditList(R"((4X,"SPACE GROUP VIOLATIONS WILL BE RETAINED ","AS LESS-THANS"))"));
      break;
    default:
      prt.put(EditList(R"((4X,"SPACE GROUP VIOLATIONS WILL NOT BE DETECTED"))"));
      break;
  }

  if (ctl.IREJMODE == 0) {
    prt.put(EditList(R"((4X,"NO OUTLIER REJECTION"))"));
  } else {
    prt.put(EditList(R"((/,4X,"BLESSING TEST VALUES FOR REFLECTION REJECTION ARE:",4F6.3))"),
            ctl.BLESS[0], ctl.BLESS[1], ctl.BLESS[2], ctl.BLESS[3]);
    if (ctl.IREJMODE == 2) {
      prt.put(EditList(R"((4X,"DAC DIPS ONLY WILL BE REJECTED"))"));
    } else if (ctl.IREJMODE == 1) {
      prt.put(EditList(R"((4X,"OUTLIERS IN SYMMETRY EQUIVALENT SETS"," WILL BE REJECTED"))"));
    } else {
      prt.put(EditList(R"((4X,"OUTLIERS IN SYMMETRY EQUIVALENT SETS",)"
                       R"(" AND DAC DIPS WILL BE REJECTED"))"));
    }
  }

  if (ctl.IOUTAVE == 1) {
    prt.put(EditList(R"((/,/,4X,"AVERAGED REFLECTIONS WILL BE WRITTEN TO"," OUTPUT FILE"))"));
    if (ctl.INOSING == 1) {
      prt.put(EditList(R"((/,/,4X,"BUT SINGLETS WILL NOT BE OUTPUT"))"));
    }
  } else {
    prt.put(EditList(R"((/,/,4X,"INDIVIDUAL REFLECTIONS WILL BE WRITTEN TO"," OUTPUT FILE"))"));
  }
}

}  // namespace vorlane::output
