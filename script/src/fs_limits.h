#pragma once
// Every resource limit of the script engine, in one place. Outside input (scripts,
// used units, IL texts) is checked against these at the boundary; the messages name
// the limit so that a user knows what to simplify.

#include <cstddef>

namespace fs_limits {

// Grammar elements being matched inside each other (the parser recurses once per
// level). One bracket or block level of a script costs roughly ten of these.
constexpr int kMaxGrammarDepth = 3000;
constexpr const char* kGrammarDepthMessage = "Script nested too deeply (limit is %d grammar levels)";

// Elements of an XML text (grammar or IL) opened inside each other.
constexpr int kMaxXMLDepth = 4000;
constexpr const char* kXMLDepthMessage = "XML nested too deeply (limit is %d levels)";

// Registered ancestors followed when a class member is looked up; a chain this long
// can only be a cycle of ancestor names.
constexpr int kMaxClassAncestry = 256;

}  // namespace fs_limits
