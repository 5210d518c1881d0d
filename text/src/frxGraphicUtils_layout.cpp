// TfrxDrawText: laying out (tags, wrapping, hyphenation), block measures and splitting.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "frxGraphicUtils_hyphen.h"
#include "frxTextRound.h"
#include "frxGraphicUtils_tags.h"
#include "text/frxGraphicUtils.h"

namespace {

bool RotatedQuarter(int rotation) {
  return (rotation >= 90 && rotation < 180) || (rotation >= 270 && rotation < 360);
}

}  // namespace

int TfrxDrawText::AvailableWidth() const {
  return RotatedQuarter(rotation_) ? layoutRect_.Height() : layoutRect_.Width();
}

void TfrxDrawText::LayOutText(const TWideStrings& lines) {
  wrappedLines_.Clear();
  sourceText_.clear();
  styleRuns_.clear();
  const int width = AvailableWidth();
  const int maxRest = frxNearest(width * kDesignScale);
  const int maxFirst = frxNearest((width - paragraphGap_) * kDesignScale);

  TfrxHTMLTagsParser parser;
  parser.Reset(font_);
  std::u16string text;
  TfrxHTMLTags tags;
  for (int i = 0; i < lines.Count(); ++i) {
    const std::u16string_view line = lines[i].empty() ? std::u16string_view(u" ") : lines[i];
    const size_t offset = sourceText_.size();
    sourceText_ += line;
    sourceText_ += u"\r\n";
    text.clear();
    tags.clear();
    parser.ParseLine(line, offset, allowTags_, text, tags);
    if (text.empty()) {
      // A line of tags only still takes a line; it starts where its tags start.
      text = u" ";
      tags.push_back(parser.CurrentRecord(static_cast<int>(offset + 1)));
    }
    const int first = wrappedLines_.Count();
    WrapLine(text, tags, maxFirst, maxRest);
    if (wrappedLines_.Count() == first) EmitLine(u" ", tags, 0, 1, false);  // spaces only
    const int last = wrappedLines_.Count() - 1;
    if (first == last) {
      wrappedLines_.SetFlags(first, frxFirstLineOfParagraph | frxLastLineOfParagraph);
    } else {
      wrappedLines_.SetFlags(first, frxFirstLineOfParagraph);
      wrappedLines_.SetFlags(last, frxLastLineOfParagraph);
    }
  }
}

void TfrxDrawText::EmitLine(const std::u16string& text, const TfrxHTMLTags& tags, size_t from,
                            size_t to, bool hyphen) {
  std::u16string line = text.substr(from, to - from);
  TfrxHTMLTags runs(tags.begin() + static_cast<ptrdiff_t>(from),
                    tags.begin() + static_cast<ptrdiff_t>(to));
  if (hyphen) {
    line.push_back(u'-');
    runs.push_back(runs.back());
  }
  wrappedLines_.Add(std::move(line));
  styleRuns_.push_back(std::move(runs));
}

void TfrxDrawText::WrapLine(const std::u16string& text, const TfrxHTMLTags& tags, int maxFirst,
                            int maxRest) {
  const size_t n = text.size();
  if (!wordWrap_ || n <= 1) {
    EmitLine(text, tags, 0, n, false);
    return;
  }
  MeasureDesign(text, tags, true);
  int64_t total = 0;
  for (size_t i = 0; i < n; ++i) cumulative_[i] = total += designAdvances_[i];
  if (total < maxFirst) {
    EmitLine(text, tags, 0, n, false);
    return;
  }

  size_t lineStart = 0;
  int64_t startOffset = 0;
  int64_t maxWidth = maxFirst;
  ptrdiff_t lastSpace = -1;  // the last break point: a space outside <nowrap>
  for (size_t i = 0; i < n; ++i) {
    if (text[i] == u' ' && !tags[i].DontWrap) lastSpace = static_cast<ptrdiff_t>(i);
    if (cumulative_[i] - startOffset <= maxWidth) continue;
    size_t next;
    if (lastSpace > static_cast<ptrdiff_t>(lineStart)) {
      const size_t space = static_cast<size_t>(lastSpace);
      const int prefix = wordBreak_ ? HyphenationPoint(text, space + 1, i) : 0;
      if (prefix > 0) {
        next = space + 1 + static_cast<size_t>(prefix);
        EmitLine(text, tags, lineStart, next, true);
      } else {
        EmitLine(text, tags, lineStart, space, false);
        next = space + 1;
      }
    } else if (i == lineStart) {
      // A character wider than the line stands alone; a space there is a break.
      if (lastSpace != static_cast<ptrdiff_t>(i)) EmitLine(text, tags, i, i + 1, false);
      next = i + 1;
    } else {
      // One word longer than the line.
      const int prefix = wordBreak_ ? HyphenationPoint(text, lineStart, i) : 0;
      next = prefix > 0 ? lineStart + static_cast<size_t>(prefix) : i;
      EmitLine(text, tags, lineStart, next, prefix > 0);
    }
    lineStart = next;
    startOffset = next > 0 ? cumulative_[next - 1] : 0;
    maxWidth = maxRest;
    lastSpace = -1;
    i = next - 1;  // examine the new line from its start
  }
  if (lineStart < n) EmitLine(text, tags, lineStart, n, false);
}

int TfrxDrawText::HyphenationPoint(const std::u16string& text, size_t wordStart,
                                   size_t firstMissing) const {
  if (firstMissing <= wordStart) return 0;
  size_t wordEnd = firstMissing;
  while (wordEnd < text.size() && std::u16string_view(u" .,-;").find(text[wordEnd]) ==
                                      std::u16string_view::npos)
    ++wordEnd;
  return frxHyphenationPoint(std::u16string_view(text).substr(wordStart, wordEnd - wordStart),
                             static_cast<int>(firstMissing - wordStart));
}

void TfrxDrawText::UseParagraphFlags(bool firstParaBreak, bool lastParaBreak) {
  if (wrappedLines_.Empty()) return;
  if (firstParaBreak)
    wrappedLines_.SetFlags(0, wrappedLines_.Flags(0) & ~frxFirstLineOfParagraph);
  if (lastParaBreak) {
    const int last = wrappedLines_.Count() - 1;
    wrappedLines_.SetFlags(last, wrappedLines_.Flags(last) & ~frxLastLineOfParagraph);
  }
}

double TfrxDrawText::LinePitch() const { return designFontHeight_ / kDesignScale + lineSpacing_; }

double TfrxDrawText::TextBlockHeight() const {
  if (wrappedLines_.Empty()) return 0;
  double height = wrappedLines_.Count() * LinePitch();
  if (lineSpacing_ < 0) height -= lineSpacing_;
  return height;
}

double TfrxDrawText::WidestLineWidth() {
  int64_t widest = 0;
  for (int i = 0; i < wrappedLines_.Count(); ++i) {
    const std::u16string& line = wrappedLines_[i];
    MeasureDesign(line, styleRuns_[static_cast<size_t>(i)], false);
    int64_t width = 0;
    for (size_t k = 0; k < line.size(); ++k) width += designAdvances_[k];
    width += frxNearest(static_cast<double>(line.size()) * charSpacing_ * kDesignScale);
    if (wrappedLines_.Flags(i) & frxFirstLineOfParagraph)
      width += frxNearest(paragraphGap_ * kDesignScale);
    widest = std::max(widest, width);
  }
  return static_cast<double>(widest) / kDesignScale;
}

namespace {

// How many whole line pitches fit `height`; every line fits when the pitch is not
// positive (a line spacing that eats the whole font height).
int64_t WholeLines(double height, double pitch, int64_t lines) {
  if (pitch <= 0) return lines;
  const double n = std::floor(height / pitch);
  if (n <= 0) return 0;
  return n >= static_cast<double>(lines) ? lines : static_cast<int64_t>(n);
}

}  // namespace

double TfrxDrawText::LeftoverHeight() const {
  const double height = layoutRect_.Height() + 1;
  const double pitch = LinePitch();
  if (pitch <= 0) return height;
  const double n = std::floor(height / pitch);
  if (n <= 0) return 0;
  const double left = height - n * pitch;
  return left == 0 ? 0.0001 : left;
}

TfrxTextSplit TfrxDrawText::SplitAtHeight() {
  TfrxTextSplit split;
  const int64_t count = wrappedLines_.Count();
  const int n = static_cast<int>(WholeLines(layoutRect_.Height() + 1, LinePitch(), count));
  if (n >= count) return split;

  split.InsideParagraph = n > 0 && wrappedLines_.Flags(n - 1) < frxLastLineOfParagraph;
  const TfrxHTMLTag first = styleRuns_[static_cast<size_t>(n)].front();
  const size_t cut = static_cast<size_t>(first.Position - 1);
  std::u16string rest = sourceText_.substr(cut);
  if (split.InsideParagraph && !rest.empty() && rest.front() == u' ') rest.erase(0, 1);
  sourceText_.resize(cut);

  // A hyphen the wrapping inserted (a copy of the record before it) is not in the
  // source text; the fitting part keeps it. A hyphen of the text itself is there.
  if (n > 0 && wordBreak_) {
    const TfrxHTMLTags& lastRuns = styleRuns_[static_cast<size_t>(n - 1)];
    const std::u16string& lastLine = wrappedLines_[n - 1];
    if (lastLine.size() >= 2 && lastLine.back() == u'-' &&
        lastRuns[lastRuns.size() - 1].Position == lastRuns[lastRuns.size() - 2].Position)
      sourceText_ += u'-';
  }

  if (allowTags_) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", RedOf(first.Color), GreenOf(first.Color),
                  BlueOf(first.Color));
    std::u16string reopen = u"<font color=\"#";
    for (const char* p = hex; *p != 0; ++p) reopen.push_back(static_cast<char16_t>(*p));
    reopen += u"\">";
    if (first.Style & fsUnderline) reopen += u"<u>";
    if (first.Style & fsItalic) reopen += u"<i>";
    if (first.Style & fsBold) reopen += u"<b>";
    if (first.Style & fsStrikeOut) reopen += u"<strike>";
    rest.insert(0, reopen);
  }
  split.Rest = std::move(rest);

  while (wrappedLines_.Count() > n) wrappedLines_.Delete(wrappedLines_.Count() - 1);
  styleRuns_.resize(static_cast<size_t>(n));
  return split;
}
