// The picture view: pictures of every kind in templates (Picture.PropData), recognition
// of picture streams, drawing modes, filling from files and datasets, and the picture
// cache seam of the prepared pages.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <memory>

#include "frxTemplateTexts.h"
#include "PictureSamples.h"
#include "TempFolder.h"
#include "frxTestClasses.h"
#include "platform/QtCanvas.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassPage.h"
#include "report/frxClassPicture.h"
#include "report/frxClassReport.h"
#include "report/frxReportSeams.h"
#include "report/frxXML.h"

namespace {

using samples::Bytes;

std::string Hex(const Bytes& bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

enum class Framing { Length, LengthWithSelf, None };

// The property byte stream of Picture.PropData, built here byte by byte: the record
// "Data" of raw bytes holding the class name and the framed graphic data.
// `claimed` bytes more than there are may be stated in the graphic's length.
Bytes PropData(const std::string& className, Framing framing, const Bytes& data, uint32_t claimed = 0) {
  Bytes payload;
  payload.push_back(static_cast<uint8_t>(className.size()));
  payload.insert(payload.end(), className.begin(), className.end());
  const auto length = static_cast<uint32_t>(data.size()) + claimed;
  if (framing == Framing::Length) samples::Put32(payload, length);
  if (framing == Framing::LengthWithSelf) samples::Put32(payload, length + 4);
  payload.insert(payload.end(), data.begin(), data.end());
  Bytes record = {4, 'D', 'a', 't', 'a', 10};
  samples::Put32(record, static_cast<uint32_t>(payload.size()));
  record.insert(record.end(), payload.begin(), payload.end());
  return record;
}

std::string Template(const std::string& pictureAttributes) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxTestReport><TfrxTestPage Name=\"Page1\">"
         "<TfrxPictureView Name=\"Picture1\" Left=\"10\" Top=\"10\" Width=\"80\" Height=\"40\"" +
         pictureAttributes + "/></TfrxTestPage></TfrxTestReport>";
}

std::string PictureAttribute(const std::string& xml) {
  const size_t at = xml.find("Picture.PropData=\"");
  if (at == std::string::npos) return {};
  const size_t start = at + 18;
  return xml.substr(start, xml.find('"', start) - start);
}

TfrxPictureView* PictureOf(TfrxComponent& report) {
  return dynamic_cast<TfrxPictureView*>(report.FindObject("Picture1"));
}

void ExpectColor(TColor expected, TColor actual, int tolerance, const std::string& where) {
  EXPECT_NEAR(RedOf(expected), RedOf(actual), tolerance) << where;
  EXPECT_NEAR(GreenOf(expected), GreenOf(actual), tolerance) << where;
  EXPECT_NEAR(BlueOf(expected), BlueOf(actual), tolerance) << where;
}

struct TKindCase {
  const char* Name;
  const char* ClassName;
  Framing Frame;
  std::function<Bytes()> Make;
  bool ClearColumns;
  int Tolerance;
};

const TKindCase kKinds[] = {
    {"bmp1", "TBitmap", Framing::Length, [] { return samples::Bmp(1); }, false, 0},
    {"bmp4", "TBitmap", Framing::Length, [] { return samples::Bmp(4); }, false, 0},
    {"bmp8", "TBitmap", Framing::Length, [] { return samples::Bmp(8); }, false, 0},
    {"bmp16", "TBitmap", Framing::Length, [] { return samples::Bmp(16); }, false, 0},
    {"bmp24_top_down", "TBitmap", Framing::Length, [] { return samples::Bmp(24, true); }, false, 0},
    {"bmp32", "TBitmap", Framing::Length, [] { return samples::Bmp(32); }, false, 0},
    {"jpeg", "TJPEGImage", Framing::Length, samples::Jpeg, false, 40},
    {"png_alpha", "TPNGObject", Framing::None, samples::Png, true, 0},
    {"icon", "TIcon", Framing::None, samples::Icon, true, 0},
    {"wmf", "TMetafile", Framing::LengthWithSelf, samples::Wmf, false, 40},
    {"emf", "TMetafile", Framing::LengthWithSelf, samples::Emf, false, 40},
};

// ---------------------------------------------------------------------------------------
// Templates

TEST(TfrxPictureViewTemplate, EveryKindLoadsFromPropDataAndDrawsItsPixels) {
  for (const TKindCase& c : kKinds) {
    const std::string hex = Hex(PropData(c.ClassName, c.Frame, c.Make()));
    TfrxTestReport report;
    EXPECT_TRUE(Load(report, Template(" Picture.PropData=\"" + hex + "\"")).empty()) << c.Name;
    TfrxPictureView* view = PictureOf(report);
    ASSERT_NE(view, nullptr);
    ASSERT_FALSE(view->Picture().Empty()) << c.Name;

    auto bitmap = NewBitmap(100, 60, TPixelFormat::pf24bit);
    view->Draw(bitmap->Canvas(), 1, 1, 0, 0);
    for (auto [x, y] : {std::pair{2, 1}, std::pair{5, 1}, std::pair{2, 3}, std::pair{5, 3}, std::pair{7, 2}}) {
      const TColor expected = c.ClearColumns && samples::IsClear(x) ? clWhite : samples::SampleColor(x, y);
      ExpectColor(expected, bitmap->Pixel(10 + 10 * x, 10 + 10 * y), c.Tolerance,
                  std::string(c.Name) + " at " + std::to_string(x) + "," + std::to_string(y));
    }

    // Saved again, the picture's bytes are the same, and so is a second save.
    const std::string saved = Save(report);
    EXPECT_EQ(PictureAttribute(saved), hex) << c.Name;
    TfrxTestReport again;
    EXPECT_TRUE(Load(again, saved).empty()) << c.Name;
    EXPECT_EQ(Save(again), saved) << c.Name;
  }
}

TEST(TfrxPictureViewTemplate, NewViewWritesItsAlwaysStoredPropertiesAndNoPicture) {
  TfrxTestReport report;
  auto* page = new TfrxTestPage(&report);
  auto* view = new TfrxPictureView(page);
  view->SetName("Picture1");
  const std::string saved = Save(report);
  EXPECT_NE(saved.find("<TfrxPictureView Name=\"Picture1\" Left=\"0\" Top=\"0\" Width=\"0\" Height=\"0\" HightQuality=\"False\" Transparent=\"False\" "
                       "TransparentColor=\"16777215\"/>"),
            std::string::npos)
      << saved;

  view->SetTransparent(true);
  view->SetStretched(false);
  view->SetCenter(true);
  view->SetFileLink("logo.png");
  view->Picture().Load(TGraphicKind::Png, samples::Png());
  view->SetPictureStored(false);  // as the prepared pages copy it
  const std::string copied = Save(report);
  EXPECT_NE(copied.find(" Center=\"True\" FileLink=\"logo.png\" Stretched=\"False\" HightQuality=\"False\" "
                        "Transparent=\"True\""),
            std::string::npos)
      << copied;
  EXPECT_EQ(PictureAttribute(copied), "");
}

// A report page keeps its background picture in its background view: the picture of
// a template comes back on saving and fills the printable area without keeping the
// aspect ratio (the sample is red in its top-left quarter, blue elsewhere).
TEST(TfrxPictureViewTemplate, ReportPageBackPictureLoadsDrawsAndSavesAgain) {
  const std::string hex = Hex(PropData("TBitmap", Framing::Length, samples::Bmp(24)));
  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  TMemoryStream in;
  in.WriteString("<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxReportPage Name=\"Page1\" "
                 "LeftMargin=\"10\" RightMargin=\"10\" TopMargin=\"10\" BottomMargin=\"10\" "
                 "BackPicture.PropData=\"" + hex + "\"/></TfrxReport>");
  in.SetPosition(0);
  report.LoadFromStream(in);
  EXPECT_EQ(report.Errors().Count(), 0) << report.Errors().Text();
  auto* page = dynamic_cast<TfrxReportPage*>(report.FindObject("Page1"));
  ASSERT_NE(page, nullptr);
  ASSERT_FALSE(page->BackPicture().Empty());

  auto bitmap = NewBitmap(page->Width(), page->Height(), TPixelFormat::pf24bit);
  page->PaintPageBackground(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(bitmap->Pixel(20, 500), clWhite) << "the margin stays empty";
  EXPECT_EQ(bitmap->Pixel(60, 100), clRed) << "the red quarter at the printable area's corner";
  EXPECT_EQ(bitmap->Pixel(370, 530), clRed) << "stretched over half the area both ways";
  EXPECT_EQ(bitmap->Pixel(420, 100), clBlue);
  EXPECT_EQ(bitmap->Pixel(60, 590), clBlue) << "aspect ratio not kept";
  EXPECT_EQ(bitmap->Pixel(740, 1070), clBlue) << "up to the right and bottom margins";

  TMemoryStream out;
  report.SaveToStream(out);
  const std::string saved = out.DataString();
  EXPECT_NE(saved.find("BackPicture.PropData=\"" + hex + "\""), std::string::npos) << saved;

  page->BackPicture().Clear();
  TMemoryStream empty;
  report.SaveToStream(empty);
  EXPECT_EQ(empty.DataString().find("BackPicture"), std::string::npos) << "no picture, no attribute";
}

TEST(TfrxPictureViewTemplate, TransparentSetsTheColour) {
  TfrxPictureView view(nullptr);
  EXPECT_EQ(view.Color(), clWhite);
  view.SetTransparent(true);
  EXPECT_EQ(view.Color(), clTransparent);
  view.SetTransparent(false);
  EXPECT_EQ(view.Color(), clWhite);
}

// Bad picture data in a template: an error naming the view, an empty picture, and the
// rest of the template still read.
struct TBadTemplateCase {
  const char* Name;
  std::function<Bytes()> Make;
  const char* Message;
};

Bytes CutBy(Bytes b, size_t n) {
  b.resize(b.size() - n);
  return b;
}

const TBadTemplateCase kBadTemplates[] = {
    {"bmp_rows_cut", [] { return PropData("TBitmap", Framing::Length, CutBy(samples::Bmp(8), 6)); },
     "Picture1: Bitmap: the pixel data is cut short"},
    {"bmp_length_past_end", [] { return PropData("TBitmap", Framing::Length, samples::Bmp(24), 10); },
     "Picture1: Picture: the TBitmap data is cut short (150 of 160 bytes)"},
    {"metafile_length_too_small", [] { return PropData("TMetafile", Framing::LengthWithSelf, {}, -2); },
     "Picture1: Picture: the TMetafile data length is not valid"},
    {"jpeg_cut", [] { return PropData("TJPEGImage", Framing::Length, CutBy(samples::Jpeg(), 300)); },
     "Picture1: JPEG"},
    {"png_cut", [] { return PropData("TPNGObject", Framing::None, CutBy(samples::Png(), 20)); },
     "Picture1: PNG"},
    {"icon_cut", [] { return PropData("TIcon", Framing::None, CutBy(samples::Icon(), 30)); },
     "Picture1: Icon: the icon image is cut short"},
    {"wmf_cut", [] { return PropData("TMetafile", Framing::LengthWithSelf, CutBy(samples::Wmf(), 8)); },
     "Picture1: Windows metafile: "},
    {"emf_cut", [] { return PropData("TMetafile", Framing::LengthWithSelf, CutBy(samples::Emf(), 8)); },
     "Picture1: Enhanced metafile: "},
    {"unknown_class", [] { return PropData("TGIFImage", Framing::None, samples::Png()); },
     "Picture1: Picture: unknown graphic class \"TGIFImage\""},
    {"class_name_cut", [] { return Bytes{4, 'D', 'a', 't', 'a', 10, 3, 0, 0, 0, 7, 'T', 'B'}; },
     "Picture1: Picture: the graphic class name is cut short"},
};

TEST(TfrxPictureViewTemplate, BadPictureDataIsAnErrorOfTheView) {
  for (const TBadTemplateCase& c : kBadTemplates) {
    TfrxTestReport report;
    const std::vector<std::string> errors =
        Load(report, Template(" Picture.PropData=\"" + Hex(c.Make()) + "\" Stretched=\"False\""));
    ASSERT_EQ(errors.size(), 1u) << c.Name;
    EXPECT_EQ(errors[0].find(c.Message), 0u) << c.Name << ": " << errors[0];
    TfrxPictureView* view = PictureOf(report);
    ASSERT_NE(view, nullptr) << c.Name;
    EXPECT_TRUE(view->Picture().Empty()) << c.Name;
    EXPECT_FALSE(view->Stretched()) << c.Name << ": the attributes after the picture are read";
  }
}

TEST(TfrxPictureViewTemplate, ReportCollectsTheErrorOfABadPicture) {
  TfrxReport report;
  TMemoryStream in;
  in.WriteString("<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxTestPage Name=\"Page1\">"
                 "<TfrxPictureView Name=\"Logo\" Picture.PropData=\"" +
                 Hex(PropData("TBitmap", Framing::Length, CutBy(samples::Bmp(24), 4))) +
                 "\"/></TfrxTestPage></TfrxReport>");
  in.SetPosition(0);
  report.LoadFromStream(in);
  ASSERT_EQ(report.Errors().Count(), 1);
  EXPECT_EQ(report.Errors()[0], "Logo: Bitmap: the pixel data is cut short");
}

TEST(TfrxPictureViewTemplate, AutoSizeTakesThePictureSize) {
  TfrxTestReport report;
  Load(report, Template(" AutoSize=\"True\" Picture.PropData=\"" +
                        Hex(PropData("TPNGObject", Framing::None, samples::Png())) + "\""));
  TfrxPictureView* view = PictureOf(report);
  EXPECT_EQ(view->Width(), samples::kWidth);
  EXPECT_EQ(view->Height(), samples::kHeight);
  view->SetAutoSize(false);
  view->Picture().Load(TGraphicKind::Jpeg, samples::Jpeg());
  EXPECT_EQ(view->Width(), samples::kWidth);
  view->SetAutoSize(true);
  EXPECT_EQ(view->Width(), samples::kWidth * samples::kJpegScale);
}

// ---------------------------------------------------------------------------------------
// Recognising picture streams

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct TStreamCase {
  const char* Name;
  std::function<Bytes()> Make;
  int64_t Position;  // where the stream stands; -1: read from the start
  int32_t Result;
  TGraphicKind Kind;
};

const TStreamCase kStreams[] = {
    {"bitmap", [] { return samples::Bmp(4); }, -1, frxS_OK, TGraphicKind::Bitmap},
    {"jpeg_after_other_bytes", [] { return Concat(Bytes(5, 0x55), samples::Jpeg()); }, 5, frxS_OK, TGraphicKind::Jpeg},
    {"png", samples::Png, -1, frxS_OK, TGraphicKind::Png},
    {"wmf", samples::Wmf, -1, frxS_OK, TGraphicKind::Metafile},
    {"emf", samples::Emf, -1, frxS_OK, TGraphicKind::Metafile},
    {"icon", samples::Icon, -1, frxS_OK, TGraphicKind::Icon},
    {"container_header_skipped",
     [] {
       Bytes b = {1, 0, 0, 1};
       samples::Put32(b, static_cast<uint32_t>(samples::Png().size()));
       return Concat(b, samples::Png());
     },
     -1, frxS_OK, TGraphicKind::Png},
    {"five_bytes", [] { return Bytes{0, 0, 1, 0, 1}; }, -1, E_INVALIDARG, TGraphicKind::None},
    {"unknown", [] { return Bytes(200, 0x55); }, -1, E_INVALIDARG, TGraphicKind::None},
    {"emf_signature_in_99_bytes",
     [] {
       Bytes b(99, 0x55);
       samples::Set32(b, 40, 0x464D4520);
       return b;
     },
     -1, E_INVALIDARG, TGraphicKind::None},
    {"empty", [] { return Bytes(); }, -1, E_INVALIDARG, TGraphicKind::None},
};

TEST(TfrxPictureViewStream, SixRulesRecogniseTheFormat) {
  for (const TStreamCase& c : kStreams) {
    TfrxPictureView view(nullptr);
    view.Picture().Load(TGraphicKind::Bitmap, samples::Bmp(24));
    const Bytes bytes = c.Make();
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    stream.SetPosition(c.Position < 0 ? 3 % (bytes.size() + 1) : c.Position);
    EXPECT_EQ(view.ReadPictureStream(stream, c.Position < 0), c.Result) << c.Name;
    EXPECT_EQ(view.Picture().Graphic().Kind(), c.Kind) << c.Name;
  }
}

TEST(TfrxPictureViewStream, SixByteIconIsTakenAsAnIconAndFailsClearly) {
  TfrxPictureView view(nullptr);
  view.Picture().Load(TGraphicKind::Png, samples::Png());
  TMemoryStream stream;
  stream.WriteString(std::string("\0\0\1\0\1\0", 6));
  try {
    view.ReadPictureStream(stream, true);
    FAIL() << "no error";
  } catch (const TPictureError& e) {
    EXPECT_STREQ(e.what(), "Icon: the icon directory is cut short");
  }
  EXPECT_TRUE(view.Picture().Empty());
}

TEST(TfrxPictureViewStream, LoadingSetsPictureDirty) {
  TfrxPictureView view(nullptr);
  view.SetPictureDirty(false);
  TMemoryStream stream;
  const Bytes png = samples::Png();
  stream.WriteBuffer(png.data(), static_cast<int64_t>(png.size()));
  EXPECT_EQ(view.ReadPictureStream(stream, true), frxS_OK);
  EXPECT_TRUE(view.PictureDirty());
}

// ---------------------------------------------------------------------------------------
// Drawing modes

struct TDrawCase {
  const char* Name;
  std::function<void(TfrxPictureView&)> Setup;
  double Width, Height, Scale;
  // Device pixels and the colour each must have.
  std::vector<std::tuple<int, int, TColor>> Expect;
};

const TDrawCase kDrawCases[] = {
    {"stretched_keeps_aspect_ratio", [](TfrxPictureView&) {}, 100, 40, 1,
     {{12, 12, clRed}, {85, 12, clBlue}, {95, 20, clWhite}}},
    {"stretched_centred", [](TfrxPictureView& v) { v.SetCenter(true); }, 100, 40, 1,
     {{15, 20, clWhite}, {22, 12, clRed}, {95, 20, clBlue}, {105, 20, clWhite}}},
    {"stretched_without_aspect", [](TfrxPictureView& v) { v.SetKeepAspectRatio(false); }, 100, 40, 1,
     {{58, 28, clRed}, {62, 28, clBlue}, {105, 45, clBlue}}},
    {"own_size_scaled", [](TfrxPictureView& v) { v.SetStretched(false); }, 60, 30, 2,
     {{21, 21, clRed}, {30, 21, clBlue}, {45, 21, clWhite}}},
    {"own_size_centred_and_clipped",
     [](TfrxPictureView& v) {
       v.SetStretched(false);
       v.SetCenter(true);
     },
     6, 30, 2, {{25, 47, clRed}, {25, 50, clBlue}, {19, 50, clWhite}, {33, 50, clWhite}, {25, 44, clWhite}}},
    {"transparent_colour_left_out",
     [](TfrxPictureView& v) {
       v.SetTransparent(true);
       v.SetTransparentColor(clBlue);
       v.SetKeepAspectRatio(false);
     },
     80, 40, 1, {{15, 15, clRed}, {75, 30, clWhite}}},
    {"high_quality", [](TfrxPictureView& v) { v.SetHightQuality(true); }, 80, 40, 1,
     {{15, 15, clRed}, {75, 30, clBlue}}},
    {"printing", [](TfrxPictureView& v) { v.SetPrinting(true); }, 80, 40, 1, {{15, 15, clRed}, {75, 30, clBlue}}},
};

TEST(TfrxPictureViewDraw, PlacesThePictureAsTheModesSay) {
  for (const TDrawCase& c : kDrawCases) {
    TfrxPictureView view(nullptr);
    view.SetBounds(10, 10, c.Width, c.Height);
    view.Picture().Load(TGraphicKind::Bitmap, samples::Bmp(24));
    view.SetColor(clTransparent);
    c.Setup(view);
    auto bitmap = NewBitmap(200, 120, TPixelFormat::pf24bit);
    view.Draw(bitmap->Canvas(), c.Scale, c.Scale, 0, 0);
    for (auto [x, y, color] : c.Expect)
      EXPECT_EQ(bitmap->Pixel(x, y), color) << c.Name << " at " << x << "," << y;
  }
}

TEST(TfrxPictureViewDraw, TransparentPngKeepsItsClearColumns) {
  TfrxPictureView view(nullptr);
  view.SetBounds(0, 0, 80, 40);
  view.Picture().Load(TGraphicKind::Png, samples::Png());
  view.SetTransparent(true);
  auto bitmap = NewBitmap(100, 60, TPixelFormat::pf24bit);
  bitmap->Canvas().SetBrush(TBrush{clGreen, bsSolid});
  bitmap->Canvas().FillRect(TRect{0, 0, 100, 60});
  view.Draw(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(bitmap->Pixel(20, 10), clRed);
  EXPECT_EQ(bitmap->Pixel(70, 20), clGreen) << "the clear columns show what lies below";
}

TEST(TfrxPictureViewDraw, ViewWithoutPictureDrawsBackgroundAndFrame) {
  TfrxPictureView view(nullptr);
  view.SetBounds(10, 10, 40, 20);
  view.Frame().SetTyp(15);
  auto bitmap = NewBitmap(100, 60, TPixelFormat::pf24bit);
  bitmap->Canvas().SetBrush(TBrush{clGreen, bsSolid});
  bitmap->Canvas().FillRect(TRect{0, 0, 100, 60});
  view.Draw(bitmap->Canvas(), 1, 1, 0, 0);
  EXPECT_EQ(bitmap->Pixel(30, 20), clWhite);
  EXPECT_EQ(bitmap->Pixel(10, 20), clBlack);
}

// ---------------------------------------------------------------------------------------
// Filling

class TBlobDataSet : public TfrxDataSet {
 public:
  explicit TBlobDataSet(TfrxComponent* owner) : TfrxDataSet(owner) {}
  bool IsBlobField(const std::string& name) override { return name == "Logo"; }
  void CopyBlobTo(const std::string&, TStream& stream) override {
    stream.WriteBuffer(blob.data(), static_cast<int64_t>(blob.size()));
  }
  Bytes blob;
};

TEST(TfrxPictureViewFetch, FileLinkLoadsExpandedNameAndClearsForMissingFile) {
  TempFolder folder;
  const Bytes png = samples::Png();
  folder.Write("<logo>.png", std::string(png.begin(), png.end()));
  folder.Write("broken.bmp", "BMxx");
  TfrxTestReport report;
  auto* view = new TfrxPictureView(new TfrxTestPage(&report));
  view->SetName("Picture1");

  view->SetFileLink(folder.Folder() + "[logo].png");
  view->FetchData();
  EXPECT_EQ(view->Picture().Graphic().Kind(), TGraphicKind::Png);

  view->SetFileLink(folder.Folder() + "nope.png");
  view->FetchData();
  EXPECT_TRUE(view->Picture().Empty());
  EXPECT_TRUE(report.loadErrors.empty());

  view->Picture().Load(TGraphicKind::Png, png);
  view->SetFileLink(folder.Folder() + "broken.bmp");
  view->FetchData();
  EXPECT_TRUE(view->Picture().Empty());
  ASSERT_EQ(report.loadErrors.size(), 1u);
  EXPECT_EQ(report.loadErrors[0], "Picture1: Bitmap: the file header is cut short");
}

TEST(TfrxPictureViewFetch, BlobFieldIsReadAsAPictureStream) {
  TfrxTestReport report;
  auto* page = new TfrxTestPage(&report);
  auto* view = new TfrxPictureView(page);
  view->SetName("Picture1");
  TBlobDataSet dataSet(nullptr);
  view->SetDataSet(&dataSet);
  view->SetDataField("Logo");

  dataSet.blob = samples::Wmf();
  view->FetchData();
  EXPECT_EQ(view->Picture().Graphic().Kind(), TGraphicKind::Metafile);

  dataSet.blob = Bytes(50, 0x55);  // not a picture: cleared without an error
  view->FetchData();
  EXPECT_TRUE(view->Picture().Empty());
  EXPECT_TRUE(report.loadErrors.empty());

  dataSet.blob = CutBy(samples::Jpeg(), 200);
  view->FetchData();
  EXPECT_TRUE(view->Picture().Empty());
  ASSERT_EQ(report.loadErrors.size(), 1u);
  EXPECT_EQ(report.loadErrors[0].rfind("Picture1: JPEG", 0), 0u) << report.loadErrors[0];

  view->SetDataField("Name");  // not a blob field: the picture stays
  view->Picture().Load(TGraphicKind::Png, samples::Png());
  view->FetchData();
  EXPECT_FALSE(view->Picture().Empty());
  view->SetDataSet(nullptr);
}

// ---------------------------------------------------------------------------------------
// Prepared pages: the picture cache seam and the differences

class TCachingPages : public TfrxReportPages, public TfrxPictureCache {
 public:
  void SetEngine(TfrxReportEngine*) override {}
  void ClearAll() override {}
  int Count() const override { return 0; }
  int CurrentPage() const override { return 0; }
  int LogicalPageNo() const override { return 1; }
  int LogicalTotalPages() const override { return 1; }
  void PrintPages() override {}
  bool ExportPages(TfrxCustomExportFilter&) override { return true; }
  int CachePicture(const TfrxPictureView& view) override {
    if (view.Picture().Empty()) return 0;
    TMemoryStream bytes;
    view.SavePictureData(bytes);
    entries.push_back(bytes.DataString());
    return static_cast<int>(entries.size());
  }
  std::vector<std::string> entries;
};

TEST(TfrxPictureViewDifferences, DirtyPictureGoesToTheCacheOnce) {
  TfrxReport report;
  auto pages = std::make_unique<TCachingPages>();
  TCachingPages& cache = *pages;
  report.SetPreviewPages(std::move(pages), nullptr);
  auto* page = new TfrxTestPage(&report);
  auto* view = new TfrxPictureView(page);
  TfrxPictureView reference(nullptr);
  view->Picture().Load(TGraphicKind::Icon, samples::Icon());

  EXPECT_EQ(view->WriteDifferences(&reference), " ImageIndex=\"1\"");
  EXPECT_FALSE(view->PictureDirty());
  EXPECT_EQ(view->WriteDifferences(&reference), " ImageIndex=\"1\"");
  ASSERT_EQ(cache.entries.size(), 1u);

  // The entry's bytes are recognised as the same picture again.
  TfrxPictureView rebuilt(nullptr);
  TMemoryStream entry;
  entry.WriteString(cache.entries[0]);
  EXPECT_EQ(rebuilt.ReadPictureStream(entry, true), frxS_OK);
  EXPECT_EQ(rebuilt.Picture().Graphic().Data(), samples::Icon());

  view->SetTransparent(true);
  view->SetTransparentColor(clRed);
  view->Picture().Clear();
  EXPECT_EQ(view->WriteDifferences(&reference),
            " Color=\"536870911\" ImageIndex=\"0\" Transparent=\"1\" TransparentColor=\"255\"");
}

}  // namespace
