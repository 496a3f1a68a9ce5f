#include "quantities/sensor_catalogue.h"

#include <charconv>
#include <cstdio>

#include "platform/string_table.h"
#include "quantities/text_format.h"
#include "quantities/text_ids.h"

namespace quantities {

namespace {

std::vector<std::string_view> splitTabs(std::string_view text) {
  std::vector<std::string_view> out;
  while (true) {
    const std::size_t tab = text.find('\t');
    out.push_back(text.substr(0, tab));
    if (tab == std::string_view::npos) break;
    text.remove_prefix(tab + 1);
  }
  return out;
}

template <typename T>
bool number(std::string_view s, T& out) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\r')) s.remove_suffix(1);
  if (s.empty()) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  return ec == std::errc() && p == s.data() + s.size();
}

CatalogueSet readSet(std::string_view name, int firstId, int maxRows) {
  CatalogueSet set{std::string(name), {}};
  for (int id = firstId; id < firstId + maxRows; ++id) {
    const std::string_view text = platform::stringText(id);
    if (text.size() < 2) break;
    if (auto row = parseCatalogueRow(text)) set.rows.push_back(std::move(*row));
  }
  return set;
}

}  // namespace

std::optional<CatalogueRow> parseCatalogueRow(std::string_view text) {
  std::vector<std::string_view> f = splitTabs(text);
  if (f.size() >= 2 && f[1].empty()) f.erase(f.begin() + 1);
  // Long name, code, two labels, two display parameters, short name, four colours, flag.
  constexpr std::size_t kColumns = 12;
  if (f.size() < kColumns) return std::nullopt;
  CatalogueRow r;
  r.longName = std::string(f[0]);
  std::int64_t code = 0;
  if (!number(f[1], code) || code < INT32_MIN || code > UINT32_MAX) return std::nullopt;
  r.code = static_cast<SensorCode>(code);
  r.label1 = std::string(f[2]);
  r.label2 = std::string(f[3]);
  if (!number(f[4], r.width) || !number(f[5], r.blanks)) return std::nullopt;
  r.shortName = std::string(f[6]);
  for (std::size_t i = 0; i < 4; ++i) {
    std::int64_t c = 0;
    if (!number(f[7 + i], c) || c < INT32_MIN || c > UINT32_MAX) return std::nullopt;
    r.colours[i] = static_cast<std::uint32_t>(c);
  }
  if (!number(f[11], r.flag)) return std::nullopt;
  return r;
}

std::string formatCatalogueRow(const CatalogueRow& r) {
  std::string out = r.longName + "\t\t" + std::to_string(static_cast<std::int32_t>(r.code)) + "\t" +
                    r.label1 + "\t" + r.label2 + "\t" + std::to_string(r.width) + "\t" +
                    std::to_string(r.blanks) + "\t" + r.shortName + "\t";
  for (std::uint32_t c : r.colours) out += std::to_string(static_cast<std::int32_t>(c)) + "\t";
  out += std::to_string(r.flag) + "\t";
  return out;
}

SensorCatalogue SensorCatalogue::fromStringTable() {
  SensorCatalogue c;
  c.addSet(readSet(kArchiveSetName, text::kArchiveSet, 2000));
  c.addSet(readSet(kDailySetName, text::kDailySet, 2000));
  c.addSet(readSet(kOverlaySetName, text::kOverlaySet, 2000));
  return c;
}

void SensorCatalogue::addSet(CatalogueSet set) {
  sets_.push_back(std::move(set));
  reindex();
}

const CatalogueSet* SensorCatalogue::findSet(std::string_view name) const {
  for (const auto& s : sets_)
    if (s.name == name) return &s;
  return nullptr;
}

void SensorCatalogue::reindex() {
  archiveIndex_.clear();
  archiveSet_ = static_cast<std::size_t>(-1);
  for (std::size_t i = 0; i < sets_.size(); ++i) {
    if (sets_[i].name != kArchiveSetName) continue;
    archiveSet_ = i;
    const auto& rows = sets_[i].rows;
    for (std::size_t r = 0; r < rows.size(); ++r) archiveIndex_.try_emplace(rows[r].code, r);
    break;
  }
}

const CatalogueRow* SensorCatalogue::find(SensorCode code) const {
  auto it = archiveIndex_.find(code);
  if (it == archiveIndex_.end()) return nullptr;
  return &sets_[archiveSet_].rows[it->second];
}

int SensorCatalogue::GetSensorName(SensorCode code, int which, char* buffer,
                                   std::size_t size) const {
  if (buffer == nullptr || which < 0 || which > 3) return kBadArgument;
  const CatalogueRow* row = find(code);
  if (row == nullptr) {
    if (size > 0) buffer[0] = '\0';
    return kNotFound;
  }
  const std::string* texts[] = {&row->label1, &row->label2, &row->longName, &row->shortName};
  copyToBuffer(*texts[which], buffer, size);
  return kFound;
}

int SensorCatalogue::GetSensorColor(SensorCode code, int which, std::uint32_t* colour) const {
  if (colour == nullptr || which < 0 || which > 3) return kBadArgument;
  const CatalogueRow* row = find(code);
  if (row == nullptr) return kNotFound;
  *colour = row->colours[static_cast<std::size_t>(which)];
  return kFound;
}

}  // namespace quantities
