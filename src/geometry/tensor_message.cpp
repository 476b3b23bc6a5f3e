#include "geometry/tensor_message.hpp"

#include <vector>

#include "records/edit_list.hpp"

namespace vorlane::geometry {

std::string tensor_message(std::string_view heading, const Mat3& m, char separator) {
  const records::EditList layout(std::string("A,3(10X,3F10.6,\"") + separator + "\")");
  std::vector<records::Value> values{heading};
  for (float v : m) values.emplace_back(v);
  const auto records = records::write_records(layout, values);
  return records.empty() ? std::string(heading) : records.front();
}

}  // namespace vorlane::geometry
