#pragma once
// What a recording mail client on the fake desktop was started with: the fields of the
// one mailto address it got, decoded to UTF-8.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

inline std::string PercentDecoded(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      result += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      result += text[i];
    }
  }
  return result;
}

struct TReceivedMail {
  std::vector<std::string> To;
  std::vector<std::string> Attachments;
  std::map<std::string, std::string> Fields;  // subject, body
  // The value of a field, "" when the address has none.
  std::string Field(const std::string& name) const {
    const auto found = Fields.find(name);
    return found == Fields.end() ? std::string() : found->second;
  }
};

// Reads the arguments the handler recorded; the one argument must be a mailto address
// whose recipients travel in its query.
inline TReceivedMail ReadReceivedMail(const std::filesystem::path& received) {
  std::ifstream in(received, std::ios::binary);
  EXPECT_TRUE(in.is_open()) << "the mail client was not started";
  std::string address;
  std::getline(in, address);
  EXPECT_TRUE(address.starts_with("mailto:")) << address;
  std::string rest;
  EXPECT_FALSE(std::getline(in, rest)) << "the client got more than the address: " << rest;
  TReceivedMail mail;
  const size_t query = address.find('?');
  EXPECT_EQ(address.substr(7, query == std::string::npos ? std::string::npos : query - 7), "")
      << "recipients travel in the query";
  if (query == std::string::npos) return mail;
  std::istringstream fields(address.substr(query + 1));
  for (std::string field; std::getline(fields, field, '&');) {
    const size_t equals = field.find('=');
    const std::string name = field.substr(0, equals);
    const std::string value = PercentDecoded(equals == std::string::npos ? "" : field.substr(equals + 1));
    if (name == "to")
      mail.To.push_back(value);
    else if (name == "attach")
      mail.Attachments.push_back(value);
    else
      mail.Fields[name] = value;
  }
  return mail;
}
