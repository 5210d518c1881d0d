#pragma once
// Every resource limit of the script engine, in one place. Outside input (scripts,
// used units, IL texts) is checked against these at the boundary; the messages name
// the limit so that a user knows what to simplify.

#include <cstddef>
#include <cstdint>

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

// Calls of script procedures inside each other (recursion included). Each level costs
// a few kilobytes of the host's stack; this stays far inside the smallest stack a
// report runs on.
constexpr int kMaxCallDepth = 1000;
constexpr const char* kCallDepthMessage = "Stack overflow (limit is 1000 nested calls)";
// The host's stack the nested calls of one run may take, whatever each call holds
// (deeply nested expressions make single calls large).
constexpr std::uintptr_t kMaxCallStackBytes = 3u * 1024u * 1024u;
constexpr const char* kCallStackMessage = "Stack overflow (limit is 3 MiB of nested calls)";

// Operands and operators of one expression. A long chain such as 1+1+1+... is
// evaluated by recursion over its tree, so its length is bounded like nesting.
constexpr int kMaxExpressionNodes = 4096;
constexpr const char* kExpressionSizeMessage = "Expression too long (limit is 4096 operands and operators)";

// The longest text a script may build, and the most elements one array may hold: a
// runaway loop fails with a clear error instead of exhausting the host's memory.
constexpr size_t kMaxStringLength = 64u * 1024u * 1024u;
constexpr const char* kStringLengthMessage = "Out of memory: a text longer than 64 MiB";
constexpr long long kMaxArrayElements = 1024 * 1024;
constexpr const char* kArraySizeMessage = "Out of memory: an array of more than 1048576 elements";

}  // namespace fs_limits
