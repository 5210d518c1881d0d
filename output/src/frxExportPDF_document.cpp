// The PDF file from its header to its trailer: pages, fonts, page tree, information,
// outline, catalog, cross-reference table.

#include "output/frxExportPDF_document.h"

#include <uuid/uuid.h>

#include <cmath>
#include <cstdio>
#include <functional>

#include "frxExportPDF_content.h"
#include "output/frxExportPDF_writer.h"
#include "platform/CodePage.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxClassShapes.h"

struct TfrxPDFDocument::TOutlineNode {
  std::string Text;  // 8-bit text
  int Position = 0;  // among the exported pages
  int Top = 0;
  std::vector<TOutlineNode> Children;
  int Number = 0;
};

std::array<uint8_t, 16> NewPdfDocumentId() {
  uuid_t uuid;
  uuid_generate(uuid);
  char text[37];
  uuid_unparse_upper(uuid, text);
  return PdfMd5(std::string("{") + text + "}");
}

TfrxPDFDocument::TfrxPDFDocument(TStream& out, const TfrxPDFSettings& settings, TfrxReport* report)
    : settings_(settings), report_(report), writer_(std::make_unique<TfrxPDFWriter>(out)) {
  id_ = settings_.DocumentId ? *settings_.DocumentId : NewPdfDocumentId();
  if (settings_.CreationTime) {
    created_ = *settings_.CreationTime;
  } else {
    const std::time_t now = std::time(nullptr);
    localtime_r(&now, &created_);
  }
  embedFonts_ = settings_.EmbeddedFonts;
  if (!settings_.UserPassword.empty() || !settings_.OwnerPassword.empty()) {
    encryption_ = std::make_unique<TfrxPDFEncryption>(settings_.UserPassword, settings_.OwnerPassword,
                                                       PdfPermissionValue(settings_.ProtectionFlags), id_);
    writer_->SetEncryption(encryption_.get());
    embedFonts_ = settings_.EmbedFontsIfProtected;
  }
  Writer().Line("%PDF-1.5");
  Writer().NewObject();  // the page tree, written at the end
}

TfrxPDFDocument::~TfrxPDFDocument() = default;

void TfrxPDFDocument::BeginPage(TfrxComponent& page, int index) {
  const auto* reportPage = dynamic_cast<const TfrxReportPage*>(&page);
  const double widthPt = page.Width() * 0.75, heightPt = page.Height() * 0.75;
  pageHeights_.push_back(heightPt);
  pageIndexes_.push_back(index);
  page_ = std::make_unique<TPageContent>(widthPt, heightPt, reportPage ? reportPage->LeftMargin() : 0,
                                         reportPage ? reportPage->TopMargin() : 0, fonts_, settings_);
  annotations_.clear();
}

void TfrxPDFDocument::ExportItem(TfrxComponent& object) {
  auto* view = dynamic_cast<TfrxView*>(&object);
  if (!view || !page_ || !view->Visible()) return;
  if (!view->Printable() && !settings_.ExportNotPrintable) return;
  if (object.Name() == "_pagebackground") {
    if (settings_.Background) page_->Image(*view);
    return;
  }
  if (auto* line = dynamic_cast<TfrxCustomLineView*>(view))
    page_->Line(*line);
  else if (auto* shape = dynamic_cast<TfrxShapeView*>(view))
    page_->Shape(*shape);
  else if (auto* memo = dynamic_cast<TfrxCustomMemoView*>(view); memo && !page_->DrawnAsImage(*view))
    page_->Memo(*memo);
  else
    page_->Image(*view);
  if (!view->URL().empty() && (view->URL()[0] == '#' || view->URL()[0] == '@')) WriteLink(*view);
}

void TfrxPDFDocument::WriteLink(const TfrxView& view) {
  int target = -1;
  double top = 0;
  const std::string& url = view.URL();
  if (url[0] == '#') {
    if (report_)
      if (TfrxPreviewPages* pages = frxPreviewPagesOf(*report_)) target = pages->GetAnchorPage(url.substr(1));
  } else {
    target = std::atoi(url.c_str() + 1) - 1;
  }
  if (target < 0) return;
  const int number = Writer().NewObject();
  char dest[64];
  std::snprintf(dest, sizeof dest, "%d /XYZ null %s null", target, PdfNumber(page_->Y(top)).c_str());
  const double l = view.AbsLeft(), t = view.AbsTop();
  Writer().Write(std::to_string(number) + " 0 obj\n<< /Type /Annot\n/Subtype /Link\n/Rect [" +
                 PdfNumber(page_->X(l)) + " " + PdfNumber(page_->Y(t + view.Height())) + " " +
                 PdfNumber(page_->X(l + view.Width())) + " " + PdfNumber(page_->Y(t)) +
                 "]\n/Border [16 16 0]\n/Dest [" + dest + "]\n>>\nendobj\n");
  annotations_ += TfrxPDFWriter::Ref(number) + " ";
}

void TfrxPDFDocument::WriteContentObject(const std::string& content) {
  const int number = Writer().NewObject();
  Writer().BeginObject(number);
  if (settings_.Compressed) {
    const std::string data = Writer().Protect(number, PdfDeflate(content));
    Writer().Line("<< /Filter /FlateDecode /Length " + std::to_string(data.size()) + " /Length1 " +
                  std::to_string(content.size()) + " >>");
    Writer().Line("stream");
    Writer().Write(data);
    Writer().Line("");
  } else {
    const std::string data = Writer().Protect(number, content);
    Writer().Line("<< /Length " + std::to_string(data.size()) + " >>");
    Writer().Line("stream");
    Writer().Write(data);
    // Every content line ends with CR LF already; an empty page needs its own.
    if (data.empty()) Writer().Line("");
  }
  Writer().Line("endstream");
  Writer().EndObject();
}

void TfrxPDFDocument::EndPage() {
  if (!page_) return;
  WriteContentObject(page_->Content());
  const int contentObject = Writer().ObjectCount();
  for (int i = 0; i < fonts_.Count(); ++i)
    if (!fonts_[i].Assigned()) fonts_[i].SetObjectNumber(Writer().NewObject());
  WritePageObject(contentObject);
  page_.reset();
}

void TfrxPDFDocument::WritePageObject(int contentObject) {
  const int number = Writer().NewObject();
  pageObjects_.push_back(number);
  Writer().BeginObject(number);
  Writer().Line("<<");
  Writer().Line("/Type /Page");
  Writer().Line("/Parent 1 0 R");
  Writer().Line("/MediaBox [0 0 " + PdfNumber(page_->WidthPt()) + " " + PdfNumber(page_->HeightPt()) + " ]");
  if (!annotations_.empty()) Writer().Line("/Annots [" + annotations_ + "]");
  Writer().Line("/Resources <<");
  std::string fonts = "/Font << ";
  for (int i = 0; i < fonts_.Count(); ++i)
    fonts += fonts_[i].ResourceName() + " " + TfrxPDFWriter::Ref(fonts_[i].ObjectNumber()) + " ";
  Writer().Line(fonts + ">>");
  Writer().Line("/XObject <<");
  Writer().Line(">>");
  Writer().Line("/ProcSet [/PDF /Text /ImageC ]");
  Writer().Line(">>");
  Writer().Line("/Contents " + TfrxPDFWriter::Ref(contentObject));
  Writer().Line(">>");
  Writer().EndObject();
}

std::string TfrxPDFDocument::DateString(int number) const {
  char text[80];  // room for any int the fields may hold
  std::snprintf(text, sizeof text, "D:%04d%02d%02d%02d%02d%02d", created_.tm_year + 1900, created_.tm_mon + 1,
                created_.tm_mday, created_.tm_hour, created_.tm_min, created_.tm_sec);
  if (!encryption_) return std::string("(") + text + ")";
  return "(" + PdfEscapeLiteral(writer_->Protect(number, text)) + ")";
}

void TfrxPDFDocument::WriteInfo(int number) {
  TfrxPDFWriter& w = Writer();
  w.BeginObject(number);
  w.Line("<<");
  w.Line("/Title " + w.TextString(number, settings_.Title));
  w.Line("/Author " + w.TextString(number, settings_.Author));
  w.Line("/Subject " + w.TextString(number, settings_.Subject));
  w.Line("/Keywords " + w.TextString(number, settings_.Keywords));
  w.Line("/Creator " + w.TextString(number, settings_.Creator));
  w.Line("/Producer " + w.TextString(number, settings_.Producer));
  w.Line("/CreationDate " + DateString(number));
  w.Line("/ModDate " + DateString(number));
  w.Line(">>");
  w.EndObject();
}

std::vector<TfrxPDFDocument::TOutlineNode> TfrxPDFDocument::CollectOutline() const {
  std::vector<TOutlineNode> roots;
  if (!report_) return roots;
  TfrxPreviewPages* pages = frxPreviewPagesOf(*report_);
  if (!pages) return roots;
  TfrxCustomOutline& outline = pages->Outline();
  auto position = [this](int pageIndex) {
    for (size_t i = 0; i < pageIndexes_.size(); ++i)
      if (pageIndexes_[i] == pageIndex) return static_cast<int>(i);
    return -1;
  };
  std::function<std::vector<TOutlineNode>()> level = [&]() {
    std::vector<TOutlineNode> nodes;
    for (int i = 0; i < outline.Count(); ++i) {
      const TfrxCustomOutline::TItem item = outline.ItemAt(i);
      const int at = position(item.Page);
      if (at < 0) continue;  // outside the exported pages, with its children
      TOutlineNode node{item.Text, at, item.Top, {}, 0};
      outline.LevelInto(i);
      node.Children = level();
      outline.LevelUp();
      nodes.push_back(std::move(node));
    }
    return nodes;
  };
  outline.LevelRoot();
  roots = level();
  outline.LevelRoot();
  return roots;
}

int TfrxPDFDocument::WriteOutline() {
  std::vector<TOutlineNode> roots = CollectOutline();
  if (roots.empty()) return 0;
  TfrxPDFWriter& w = Writer();
  // Numbers in writing order (depth first), so that every reference is known in advance.
  int next = w.ObjectCount() + 1;
  const int root = next++;
  std::function<void(std::vector<TOutlineNode>&)> number = [&](std::vector<TOutlineNode>& nodes) {
    for (TOutlineNode& node : nodes) {
      node.Number = next++;
      number(node.Children);
    }
  };
  number(roots);

  w.BeginObject(w.NewObject());
  w.Line("<<");
  w.Line("/Type /Outlines");
  w.Line("/Count " + std::to_string(roots.size()));
  w.Line("/First " + TfrxPDFWriter::Ref(roots.front().Number));
  w.Line("/Last " + TfrxPDFWriter::Ref(roots.back().Number));
  w.Line(">>");
  w.EndObject();
  std::function<void(const std::vector<TOutlineNode>&, int)> write = [&](const std::vector<TOutlineNode>& nodes,
                                                                         int parent) {
    for (size_t i = 0; i < nodes.size(); ++i) {
      const TOutlineNode& node = nodes[i];
      const int n = w.NewObject();
      w.BeginObject(n);
      w.Line("<<");
      w.Line("/Title " + w.TextString(n, codepage::ToWide(node.Text)));
      w.Line("/Parent " + TfrxPDFWriter::Ref(parent));
      if (i > 0) w.Line("/Prev " + TfrxPDFWriter::Ref(nodes[i - 1].Number));
      if (i + 1 < nodes.size()) w.Line("/Next " + TfrxPDFWriter::Ref(nodes[i + 1].Number));
      if (!node.Children.empty()) {
        w.Line("/First " + TfrxPDFWriter::Ref(node.Children.front().Number));
        w.Line("/Last " + TfrxPDFWriter::Ref(node.Children.back().Number));
        w.Line("/Count " + std::to_string(node.Children.size()));
      }
      const double height = pageHeights_[static_cast<size_t>(node.Position)];
      w.Line("/Dest [" + TfrxPDFWriter::Ref(pageObjects_[static_cast<size_t>(node.Position)]) + " /XYZ 0 " +
             std::to_string(std::lround(height - node.Top * 0.75)) + " 0]");
      w.Line(">>");
      w.EndObject();
      write(node.Children, node.Number);
    }
  };
  write(roots, root);
  return root;
}

void TfrxPDFDocument::WriteCatalog(int number, int outlineRoot) {
  TfrxPDFWriter& w = Writer();
  w.BeginObject(number);
  w.Line("<<");
  w.Line("/Type /Catalog");
  w.Line("/Pages 1 0 R");
  w.Line(std::string("/PageMode ") + (settings_.Outline ? "/UseOutlines" : "/UseNone"));
  if (outlineRoot) w.Line("/Outlines " + TfrxPDFWriter::Ref(outlineRoot));
  w.Line("/ViewerPreferences <<");
  if (!settings_.Title.empty()) w.Line("/DisplayDocTitle true");
  if (settings_.HideToolbar) w.Line("/HideToolbar true");
  if (settings_.HideMenubar) w.Line("/HideMenubar true");
  if (settings_.HideWindowUI) w.Line("/HideWindowUI true");
  if (settings_.FitWindow) w.Line("/FitWindow true");
  if (settings_.CenterWindow) w.Line("/CenterWindow true");
  if (!settings_.PrintScaling) w.Line("/PrintScaling /None");
  w.Line(">>");
  w.Line(">>");
  w.EndObject();
}

void TfrxPDFDocument::WriteTrailer(int64_t xref, int catalog, int info) {
  TfrxPDFWriter& w = Writer();
  std::string id;
  char hex[3];
  for (uint8_t b : id_) {
    std::snprintf(hex, sizeof hex, "%02x", b);
    id += hex;
  }
  w.Line("trailer");
  w.Line("<<");
  w.Line("/Size " + std::to_string(w.ObjectCount() + 1));
  w.Line("/Root " + TfrxPDFWriter::Ref(catalog));
  w.Line("/Info " + TfrxPDFWriter::Ref(info));
  w.Line("/ID [<" + id + "><" + id + ">]");
  if (encryption_) {
    w.Line("/Encrypt <<");
    w.Line("/Filter /Standard");
    w.Line("/V 2");
    w.Line("/R 3");
    w.Line("/Length 128");
    w.Line("/P " + std::to_string(encryption_->P()));
    w.Line("/O (" + PdfEscapeLiteral(encryption_->O()) + ")");
    w.Line("/U (" + PdfEscapeLiteral(encryption_->U()) + ")");
    w.Line(">>");
  }
  w.Line(">>");
  w.Line("startxref");
  w.Line(std::to_string(xref));
  w.Line("%%EOF");
  w.Flush();
}

void TfrxPDFDocument::Finish() {
  if (finished_) return;
  finished_ = true;
  if (page_) EndPage();
  TfrxPDFFontOptions fontOptions;
  fontOptions.Embedded = embedFonts_;
  fontOptions.Compressed = settings_.Compressed;
  fontOptions.Subset = settings_.SubsetFonts;
  for (int i = 0; i < fonts_.Count(); ++i) fonts_[i].WriteFont(Writer(), fontOptions);

  TfrxPDFWriter& w = Writer();
  w.PlaceObject(1);
  w.BeginObject(1);
  w.Line("<<");
  w.Line("/Type /Pages");
  std::string kids = "/Kids [";
  for (int page : pageObjects_) kids += TfrxPDFWriter::Ref(page) + " ";
  w.Line(kids + "]");
  w.Line("/Count " + std::to_string(pageObjects_.size()));
  w.Line(">>");
  w.EndObject();

  const int info = w.NewObject();
  WriteInfo(info);
  const int outlineRoot = settings_.Outline ? WriteOutline() : 0;
  const int catalog = w.NewObject();
  WriteCatalog(catalog, outlineRoot);
  const int64_t xref = w.WriteCrossReference();
  WriteTrailer(xref, catalog, info);
}
