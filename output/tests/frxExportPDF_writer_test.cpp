// The PDF file's numbers, strings, objects and the security handler.

#include <gtest/gtest.h>

#include <cmath>

#include "output/frxExportPDF_crypt.h"
#include "output/frxExportPDF_writer.h"
#include "platform/Stream.h"

namespace {

TEST(PdfNumberTest, WholeValuesAsIntegersOthersWithTwoDecimals) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{2, "2"},          {2.5, "2.50"},       {595.5, "595.50"}, {842.25, "842.25"},
               {0, "0"},          {-0.001, "0.00"},       {-3.456, "-3.46"}, {0.999, "1.00"},
               {1e6, "1000000"},  {1.0 / 3, "0.33"},
               {1e300, "1000000000000"}, {-1.5e200, "-1000000000000"}, {std::nan(""), "0"}};
  for (const auto& c : cases) EXPECT_EQ(PdfNumber(c.value), c.text) << c.value;
}

TEST(PdfNumberTest, ColoursAsThreeFractions) {
  EXPECT_EQ(PdfColor(clBlack), "0 0 0");
  EXPECT_EQ(PdfColor(clWhite), "1 1 1");
  EXPECT_EQ(PdfColor(RGBColor(255, 0, 128)), "1 0 0.50");
  // clBtnFace, a system colour, is a light grey, not a stray negative number.
  EXPECT_EQ(PdfColor(static_cast<TColor>(0x8000000F)), "0.94 0.94 0.94");
}

TEST(PdfStringTest, UnicodeHexAndEscapedLiterals) {
  EXPECT_EQ(PdfUnicodeHexString(u"Zażółć"), "<FEFF005A0061017C00F301420107>");
  EXPECT_EQ(PdfEscapeLiteral("a(b)\\c\r\nd"), "a\\(b\\)\\\\c\\r\\nd");
}

TEST(PdfWriterTest, ObjectsNumberedInOrderAndPlacedLater) {
  TMemoryStream out;
  {
    TfrxPDFWriter w(out);
    w.Line("%PDF-1.5");
    const int reserved = w.NewObject();  // placed at the end
    const int second = w.NewObject();
    w.BeginObject(second);
    w.Line("<< >>");
    w.EndObject();
    w.PlaceObject(reserved);
    w.BeginObject(reserved);
    w.EndObject();
    EXPECT_EQ(w.ObjectCount(), 2);
    const int64_t xref = w.WriteCrossReference();
    EXPECT_EQ(out.DataString().substr(static_cast<size_t>(xref), 4), "xref");
  }
  const std::string text = out.DataString();
  // Object 2 at offset 10 (after "%PDF-1.5\r\n"), object 1 after object 2's 24 bytes.
  EXPECT_NE(text.find("0 3\r\n0000000000 65535 f\r\n0000000034 00000 n\r\n0000000010 00000 n\r\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.substr(34, 7), "1 0 obj");
}

TEST(PdfEncryptionTest, PermissionValues) {
  EXPECT_EQ(PdfPermissionValue(kAllPDFPermissions), -4);
  EXPECT_EQ(PdfPermissionValue(kAllPDFPermissions & ~(1 << ePrint)), -8);
  EXPECT_EQ(PdfPermissionValue(0), -64);
  EXPECT_EQ(PdfPermissionValue(1 << eCopy), -48);
}

TEST(PdfEncryptionTest, OwnerPasswordDefaultsToUserAndObjectsGetTheirOwnKeys) {
  const std::array<uint8_t, 16> id{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  const TfrxPDFEncryption userOnly("tajne", "", -4, id);
  const TfrxPDFEncryption both("tajne", "tajne", -4, id);
  const TfrxPDFEncryption other("tajne", "szef", -4, id);
  EXPECT_EQ(userOnly.O(), both.O());
  EXPECT_NE(userOnly.O(), other.O());
  EXPECT_EQ(userOnly.O().size(), 32u);
  ASSERT_EQ(userOnly.U().size(), 32u);
  EXPECT_EQ(userOnly.U().substr(16), std::string(16, '\0'));

  std::string a = "Faktura VAT", b = a;
  userOnly.Apply(5, a);
  userOnly.Apply(6, b);
  EXPECT_NE(a, "Faktura VAT");
  EXPECT_NE(a, b);
  userOnly.Apply(5, a);  // RC4 undoes itself
  EXPECT_EQ(a, "Faktura VAT");
}

}  // namespace
