#pragma once
// The About window: the program's icon, name and version, author and a notice on the
// terms of use. Escape closes it as OK.

#include <QDialog>

class Tfrm_about : public QDialog {
 public:
  explicit Tfrm_about(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
