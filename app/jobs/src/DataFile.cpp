#include "jobs/DataFile.h"

#include <bitset>

#include "platform/Convert.h"
#include "platform/ListError.h"
#include "report/frxVariables.h"
#include "tables/JobTables.h"

namespace {

// The value of a line: blanks and control characters cut from both ends.
std::string_view TrimValue(std::string_view text) {
  auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

bool Contains(std::string_view line, std::string_view what) {
  return line.find(what) != std::string_view::npos;
}

constexpr size_t kLastKeyPosition = 4;  // the "=" of a value line stands at 1..4

void StoreRowCells(std::string_view row, TRxMemoryData& table) {
  static constexpr std::string_view kCellEnd = "</>";
  int field = 1;
  for (size_t end = row.find(kCellEnd); end != std::string_view::npos; end = row.find(kCellEnd)) {
    table.Fields(field++).SetAsString(TrimValue(row.substr(0, end)));
    row.remove_prefix(end + kCellEnd.size());
  }
}

void PublishDetailCounts(TJobTables& tables, TfrxVariables& variables) {
  variables.Set("SerialRecordCount", Variant(static_cast<int32_t>(tables.db_Serial.RecordCount())));
  variables.Set("SumyRecordCount", Variant(static_cast<int32_t>(tables.db_sumy.RecordCount())));
}

}  // namespace

std::vector<std::string> SplitDataLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

void LoadTableBlock(const std::vector<std::string>& lines, int recordCounter, size_t index,
                    TJobTables& tables, TfrxVariables& variables) {
  const std::string& opening = lines.at(index);
  const bool serial = Contains(opening, "TABLE P");
  if (!serial && !Contains(opening, "TABLE S")) return;
  TRxMemoryData& table = serial ? tables.db_Serial : tables.db_sumy;

  for (size_t row = 1; row <= static_cast<size_t>(kTableBlockRowLimit); ++row) {
    // A block that runs off the end of the text has lost its "ENDTABLE".
    if (index + row >= lines.size()) RaiseListIndexError(static_cast<int64_t>(index + row));
    const std::string& line = lines[index + row];
    if (Contains(line, "ENDTABLE")) break;
    table.Append();
    table.Fields(0).SetAsString(std::to_string(recordCounter - 1));
    StoreRowCells(line, table);
    table.Post();
  }
  PublishDetailCounts(tables, variables);
}

void LoadDataFile(std::string_view text, TJobHeader& header, TJobTables& tables, TfrxVariables& variables) {
  TRxMemoryData& main = tables.db_Data;
  main.EmptyTable();
  tables.db_Serial.EmptyTable();
  tables.db_sumy.EmptyTable();
  int recordCounter = 1;
  // Only the number 1 ever enters this set, and only through the key written "1":
  // afterwards "01" or "+1" start records too, as the parent application expects.
  std::bitset<256> recordStartingKeys;

  const std::vector<std::string> lines = SplitDataLines(text);
  for (size_t index = 0; index < lines.size(); ++index) {
    const std::string_view line = lines[index];
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals >= kLastKeyPosition) {
      LoadTableBlock(lines, recordCounter, index, tables, variables);
      continue;
    }
    const std::string_view key = line.substr(0, equals);
    const std::optional<int> number = TryStrToInt(key);
    if (!number) continue;
    if (key == "1") recordStartingKeys.set(1);

    const std::string_view value = TrimValue(line.substr(equals + 1));
    if (key == "95") header.DocumentName = std::string(value.substr(0, kDocumentNameLength));
    if (key == "77") header.Recipient = std::string(value.substr(0, kRecipientLength));

    if (*number >= 0 && *number < 256 && recordStartingKeys.test(static_cast<size_t>(*number))) {
      if (main.State() == TDataSetState::dsInsert || main.State() == TDataSetState::dsEdit) main.Post();
      main.Append();
      main.Fields(0).SetAsString(std::to_string(recordCounter));
      ++recordCounter;
    }
    main.Fields(*number).SetAsString(value);
  }
  if (main.State() == TDataSetState::dsInsert || main.State() == TDataSetState::dsEdit) main.Post();
  variables.Set("DataRecordCount", Variant(static_cast<int32_t>(main.RecordCount())));
}
