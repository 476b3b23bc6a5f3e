#include "run/run_files.hpp"

#include <cctype>

#include "records/text_file_buf.hpp"

namespace vorlane::run {

int& RunFiles::open_flag(int slot) {
  switch (slot) {
    case EXPERIMENT: return IEXPOPEN;
    case PRINT: return IPRTOPEN;
    case INPUT: return IINOPEN;
    default: return IOUTOPEN;
  }
}

std::string base_name(std::string_view path) {
  const auto cut = path.find_last_of("/\\");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

bool close_run_file(RunFiles& files, int slot) {
  bool ok = true;
  switch (slot) {
    case EXPERIMENT: files.exp.reset(); break;
    case INPUT: files.in.reset(); break;
    case PRINT:
      files.print.close();
      ok = !files.print.failed();
      if (files.print_stream) {
        files.print_stream->flush();
        ok = ok && !files.print_stream->fail();
      }
      files.print = records::PrintFile();
      files.print_stream.reset();
      break;
    default:
      if (files.out) {
        files.out->flush();
        ok = !files.out->fail();
        if (auto* s = dynamic_cast<StagedStream*>(files.out.get())) ok = s->close() && ok;
        if (auto* f = dynamic_cast<std::ofstream*>(files.out.get())) {
          f->close();
          ok = ok && !f->fail();
        }
      }
      files.out.reset();
      break;
  }
  files.open_flag(slot) = 0;
  return ok;
}

bool close_run_files(RunFiles& files) {
  bool ok = true;
  for (int slot = 1; slot <= 4; ++slot) ok = close_run_file(files, slot) && ok;
  // Whatever was not committed belongs to a run that did not finish.
  files.staged.discard();
  return ok;
}

std::string commit_outputs(RunFiles& files) {
  if (files.out && !close_run_file(files, OUTPUT)) {
    files.staged.discard();
    return files.paths[static_cast<std::size_t>(OUTPUT - 1)].string();
  }
  return files.staged.commit();
}

bool open_run_file(RunFiles& files, int slot, const std::filesystem::path& path) {
  if (files.open_flag(slot) == 1) close_run_file(files, slot);
  auto& name = files.FNAME[static_cast<std::size_t>(slot - 1)];
  name.clear();
  files.paths[static_cast<std::size_t>(slot - 1)].clear();
  bool ok = false;
  std::error_code ec;
  switch (slot) {
    case EXPERIMENT:
    case INPUT: {
      // Existing regular files only: a folder "opens" as a stream on some systems.
      if (!std::filesystem::is_regular_file(path, ec)) break;
      // Read with uniform line ends and without a byte-order mark (see TextFileBuf).
      auto in = std::make_unique<records::TextFileStream>(path);
      if (!in->is_open()) break;
      (slot == EXPERIMENT ? files.exp : files.in) = std::move(in);
      ok = true;
      break;
    }
    case PRINT: {
      if (std::filesystem::is_directory(path, ec)) break;
      auto out = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::app);
      if (!*out) break;
      files.print_stream = std::move(out);
      files.print.open(*files.print_stream);
      ok = true;
      break;
    }
    default: {
      // A new output replaces whatever an earlier opening staged; the file of that name is
      // not touched until the run commits.
      files.staged.discard();
      if (std::filesystem::is_directory(path, ec)) break;
      auto out = files.staged.create(path);
      if (!out) break;
      files.out = std::move(out);
      ok = true;
      break;
    }
  }
  if (ok) {
    name = base_name(path.string());
    files.paths[static_cast<std::size_t>(slot - 1)] = path;
  }
  files.open_flag(slot) = ok ? 1 : 0;
  return ok;
}

int format_from_name(std::string_view base, int slot) {
  const auto dot = base.find('.');
  std::string_view ext = dot == std::string_view::npos ? base.substr(0, 3) : base.substr(dot + 1, 3);
  std::string key;
  for (char c : ext) key += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  if (slot == INPUT) {
    if (key == "ABS") return 0;
    if (key == "HKL") return 1;
  } else {
    if (key == "AVG" || key == "ABS") return 0;
    if (key == "HKL") return 1;
  }
  return -1;
}

std::string cif_name(std::string_view output_base_name) {
  // A name without a dot keeps the whole name: "_vorlane.cif" alone would not say which run
  // the fragment belongs to, and runs in one folder would overwrite each other's.
  return beside_output(std::filesystem::path(output_base_name), "_vorlane.cif")
      .filename()
      .string();
}

}  // namespace vorlane::run
