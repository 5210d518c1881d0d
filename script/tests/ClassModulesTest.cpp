// The host-platform class modules as scripts use them: lists, string lists, streams,
// INI files, dialogs, forms without windows and graphics on a recording.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "script/fs_iclassesrtti.h"
#include "script/fs_idialogsrtti.h"
#include "script/fs_iformsrtti.h"
#include "script/fs_igraphicsrtti.h"
#include "script/fs_iinirtti.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_isysrtti.h"

namespace {

// Runs a script with the built-in functions and the platform modules in their order;
// returns what ShowMessage wrote, or the error that stopped it.
std::string RunWithModules(const std::string& language, const std::vector<std::string>& lines) {
  std::string output;
  TfsShowMessageHandler previous = fsSetShowMessageHandler([&](const std::string& text) { output += text + "\n"; });
  TfsScript script;
  script.AddSystemModules();
  script.CurrentOwner = fsSystemOwner;
  for (auto module : {fsCreateClassesRTTI, fsCreateGraphicsRTTI, fsCreateFormsRTTI, fsCreateDialogsRTTI, fsCreateIniRTTI})
    script.AddEntry("", module(script));
  script.CurrentOwner = fsNoOwner;
  script.SyntaxType = language;
  script.Lines = lines;
  if (!script.CompileScript()) {
    output += "compile error " + script.ErrorPosition + ": " + script.ErrorMessage;
  } else {
    try {
      script.ExecuteScript();
    } catch (const std::exception& e) {
      output += std::string("stopped: ") + e.what();
    }
  }
  fsSetShowMessageHandler(previous);
  return output;
}

struct Case {
  const char* what;
  const char* language;
  std::vector<std::string> lines;
  std::string expected;
};

TEST(ClassModules, ListsStringListsAndStreams) {
  const Case cases[] = {
      {"a sorted string list finds, keeps one of each and gives its comma text",
       "PascalScript",
       {"var l: TStringList; i: Integer;", "begin", "  l := TStringList.Create;", "  l.Sorted := True;",
        "  l.Add('Rogale'); l.Add('chleb'); l.Add('Bu\xB3ki'); l.Add('CHLEB');",
        "  ShowMessage(l.CommaText);", "  if l.Find('rogale', i) then ShowMessage(i);",
        "  ShowMessage(l.IndexOf('BU\xA3KI'));", "  l.Free;", "end."},
       "Bu\xB3ki,chleb,Rogale\n2\n0\n"},
      {"names and values",
       "PascalScript",
       {"var l: TStringList;", "begin", "  l := TStringList.Create;", "  l.Text := 'NIP=123' + #13#10 + 'Miasto=Kielce';",
        "  l.Values['Miasto'] := 'Radom';", "  l.Values['NIP'] := '';", "  ShowMessage(l.Names[0] + ' ' + l.Values['miasto']);",
        "  ShowMessage(l.Count);", "  l.CommaText := 'a,\"b c\",d';", "  ShowMessage(l[1] + '|' + IntToStr(l.Count));",
        "  l.Free;", "end."},
       "Miasto Radom\n1\nb c|3\n"},
      {"an index outside the list is an error the script can catch",
       "PascalScript",
       {"var l: TStringList;", "begin", "  l := TStringList.Create;",
        "  try l.Delete(5) except ShowMessage(ExceptionMessage) end;", "  l.Free;", "end."},
       "List index out of bounds (5)\n"},
      {"a list of objects",
       "C++Script",
       {"TList l = TList.Create; TStringList a = TStringList.Create; TStringList b = TStringList.Create;",
        "{ l.Add(a); l.Add(b); l.Remove(a); ShowMessage(l.Count); ShowMessage(l.IndexOf(b)); a.Free; b.Free; l.Free; }"},
       "1\n0\n"},
      {"a memory stream written, read back and handed to a string list",
       "PascalScript",
       {"var m: TMemoryStream; s: String; l: TStringList;", "begin", "  m := TMemoryStream.Create;",
        "  m.Write('Faktura', 7);", "  m.Position := 0;", "  ShowMessage(m.Read(s, 100));", "  ShowMessage(s);",
        "  m.Position := 0;", "  l := TStringList.Create;", "  l.LoadFromStream(m);", "  ShowMessage(l[0] + ' ' + IntToStr(m.Size));",
        "  l.Free; m.Free;", "end."},
       "7\nFaktura\nFaktura 7\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(RunWithModules(c.language, c.lines), c.expected) << c.what;
}

TEST(ClassModules, IniFilesReadAndWriteLikeTheProgramsSettings) {
  TempFolder folder;
  const std::string path = folder.Write("hurtownia.ini", "; Hurtownia Morwa\r\n[Druk]\r\nKopie = 2\r\nPodglad=\"tak\"\r\n");
  const std::string output = RunWithModules(
      "PascalScript",
      {"var f: TIniFile; m: TMemIniFile; l: TStringList;", "begin", "  f := TIniFile.Create('" + path + "');",
       "  ShowMessage(f.ReadInteger('DRUK', 'kopie', 1));", "  ShowMessage(f.ReadString('Druk', 'Podglad', ''));",
       "  ShowMessage(f.ReadBool('Druk', 'Brak', True));", "  f.WriteBool('Druk', 'Podglad', False);",
       "  f.WriteInteger('Licznik', 'Faktury', 12);", "  f.DeleteKey('Druk', 'Kopie');",
       "  l := TStringList.Create;", "  l.Add('Piekarnia K\xB3os'); l.Add('Hurtownia Morwa');",
       "  f.WriteTStrings('Odbiorcy', l);", "  f.Free;",
       "  m := TMemIniFile.Create('" + path + "');", "  m.ReadSections(l);", "  ShowMessage(l.CommaText);",
       "  ShowMessage(m.ReadTStrings('Odbiorcy', l));", "  m.WriteString('Druk', 'Podglad', '1');",
       "  ShowMessage(m.ValueExists('Druk', 'Kopie'));", "  l.Free; m.Free;", "end."});
  EXPECT_EQ(output, "2\ntak\nTrue\nDruk,Licznik,Odbiorcy\nPiekarnia K\xB3os\r\nHurtownia Morwa\r\n\nFalse\n");
  // The file-backed one saved each change; the memory one nothing.
  EXPECT_EQ(folder.Read("hurtownia.ini"),
            "; Hurtownia Morwa\r\n[Druk]\r\nPodglad=0\r\n[Licznik]\r\nFaktury=12\r\n[Odbiorcy]\r\n0=Piekarnia K\xB3os\r\n"
            "1=Hurtownia Morwa\r\n");
}

TEST(ClassModules, IniFilesKeepBinaryStreamsAsHexadecimalDigits) {
  TempFolder folder;
  const std::string path = folder.Folder() + "podpis.ini";
  EXPECT_EQ(RunWithModules("PascalScript",
                           {"var f: TIniFile; m, n: TMemoryStream; s: String;", "begin",
                            "  f := TIniFile.Create('" + path + "');", "  m := TMemoryStream.Create;",
                            "  m.Write('K' + #0 + #255, 3);", "  m.Position := 0;", "  f.WriteBinaryStream('Podpis', 'Dane', m);",
                            "  n := TMemoryStream.Create;", "  ShowMessage(f.ReadBinaryStream('Podpis', 'Dane', n));",
                            "  n.Position := 0;", "  n.Read(s, 3);", "  ShowMessage(Ord(s[3]));",
                            "  ShowMessage(f.ReadBinaryStream('Podpis', 'Brak', n));", "  m.Free; n.Free; f.Free;", "end."}),
            "3\n255\n0\n");
  EXPECT_EQ(folder.Read("podpis.ini"), "[Podpis]\r\nDane=4B00FF\r\n");
}

TEST(ClassModules, DialogsAnswerThroughTheProgramsHandlersOrByDefault) {
  const std::vector<std::string> script = {
      "var s: String;", "begin", "  ShowMessage(MessageDlg('Drukowa\xE6?', mtConfirmation, [mbYes, mbNo], 0));",
      "  ShowMessage(MessageDlg('Uwaga', mtWarning, [mbCancel, mbOK], 0));", "  s := 'WZ';",
      "  ShowMessage(InputQuery('Numer', 'Podaj numer', s));", "  ShowMessage(s);",
      "  ShowMessage(InputBox('Numer', 'Podaj numer', 'brak'));", "end."};
  EXPECT_EQ(RunWithModules("PascalScript", script), "6\n1\nFalse\nWZ\nbrak\n");
  std::vector<std::string> asked;
  TfsDialogHandlers previous = fsSetDialogHandlers(
      {[&](const std::string& text, int type, int buttons) {
         asked.push_back(text + " " + std::to_string(type) + " " + std::to_string(buttons));
         return 7;  // mrNo
       },
       [](const std::string&, const std::string& prompt, std::string& value) {
         value = prompt + ": 12";
         return true;
       }});
  EXPECT_EQ(RunWithModules("PascalScript", script), "7\n7\nTrue\nPodaj numer: 12\nPodaj numer: 12\n");
  fsSetDialogHandlers(previous);
  EXPECT_EQ(asked, (std::vector<std::string>{"Drukowa\xE6? 3 3", "Uwaga 0 12"}));
}

TEST(ClassModules, FormsWithoutWindowsKeepTheirSettings) {
  EXPECT_EQ(RunWithModules("PascalScript", {"var f: TForm; e: TEdit;", "begin", "  f := TForm.Create(nil);", "  f.Caption := 'Dane';",
                                 "  ShowMessage(f.ShowModal);", "  f.ModalResult := mrOk;", "  ShowMessage(f.ShowModal);",
                                 "  e := TEdit.Create(f);", "  e.SetBounds(1, 2, 30, 40);", "  e.Hide;",
                                 "  ShowMessage(IntToStr(e.Width) + ' ' + f.Caption);", "  ShowMessage(e.Visible);",
                                 "  ShowMessage(e.Owner = f);",
                                 "  ShowMessage(Application.ExeName <> '');", "  Application.ProcessMessages;",
                                 "  e.Free; f.Free;", "end."}),
            "2\n1\n30 Dane\nFalse\nTrue\nTrue\n");
}

TEST(ClassModules, CommonDialogsKeepTheirSettingsAndChooseNothing) {
  EXPECT_EQ(RunWithModules("JScript", {"var d = TSaveDialog.Create(nil);", "d.FileName = \"faktura.pdf\";",
                                       "ShowMessage(d.Execute);", "ShowMessage(d.FileName);", "d.Free;"}),
            "False\nfaktura.pdf\n");
}

TEST(ClassModules, GraphicsDrawOnARecordingAndMeasureText) {
  EXPECT_EQ(RunWithModules("PascalScript",
                {"var b: TBitmap; f: TFont;", "begin", "  b := TBitmap.Create;", "  b.Width := 200; b.Height := 50;",
                 "  b.Canvas.Font.Size := 12;", "  b.Canvas.Pen.Color := clRed;", "  b.Canvas.Rectangle(0, 0, 100, 20);",
                 "  b.Canvas.TextOut(2, 2, 'Piekarnia');", "  ShowMessage(b.Canvas.TextWidth('Piekarnia') > 0);",
                 "  ShowMessage(b.Canvas.Font.Size);", "  b.Canvas.Free;", "  b.Canvas.Pixels[1, 1] := clBlue;",
                 "  try ShowMessage(b.Canvas.Pixels[1, 1]) except ShowMessage(ExceptionMessage) end;",
                 "  f := TFont.Create;", "  f.Style := [fsBold];", "  ShowMessage(f.Name + ' ' + IntToStr(f.Style));",
                 "  f.Free; b.Free;", "end."}),
            "True\n12\nReading pixels is not available on this platform\nArial 1\n");
}

}  // namespace
