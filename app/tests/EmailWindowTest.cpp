#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "AppFixture.h"
#include "FakeDesktop.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

// The main window and the e-mail window on a desktop whose handlers only record.
class EmailWindowTest : public AppFixture {
 protected:
  TFakeDesktop desktop;
};

TEST_F(EmailWindowTest, TheJobMailCarriesWhatTheEmailWindowHolds) {
  desktop.RegisterHandler("poczta", "x-scheme-handler/mailto");
  Tfrm_main& main = Start();
  windows.frm_Email->ed_bcc->setText("kopia@firma.pl");
  windows.frm_Email->ed_Subject->setText(QString::fromUtf8("Zamówienie"));
  windows.frm_Email->ed_Tresc->setText("tresc.txt");
  program.Write("tresc.txt", "Dzień dobry\n");
  const std::string pdf = program.Write("FV3.pdf", "%PDF-1.4\n%%EOF\n");

  main.JobOutputs.SendJobMail(pdf, "biuro@kowalski.pl");

  EXPECT_EQ(ReadFile(desktop.Received("poczta")),
            "mailto:?to=biuro@kowalski.pl%3Bkopia@firma.pl&subject=Zam%C3%B3wienie&body=Dzie%C5%84%20dobry%0D%0A"
            "&attach=" + pdf + "\n");
}

TEST_F(EmailWindowTest, EdytujPlikOpensTheBodyFileOfTheProgramFolder) {
  desktop.RegisterHandler("edytor", "text/plain");
  Start();
  const std::string body = program.Write("body.txt", "Szanowni Państwo\n");
  windows.frm_Email->btn_Edytuj->click();

  // The editor is started detached: wait for it to record what it was given.
  const auto received = desktop.Received("edytor");
  for (int i = 0; i < 300 && ReadFile(received).empty(); ++i) {
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(ReadFile(received), body + "\n");
}

}  // namespace
