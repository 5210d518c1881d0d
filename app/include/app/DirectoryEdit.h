#pragma once
// A folder field: a text field with a browse button whose folder dialog may create
// folders. The text is what the user typed or chose, used as it is.

#include <QWidget>

class QLineEdit;
class QToolButton;

class TDirectoryEdit : public QWidget {
 public:
  explicit TDirectoryEdit(QWidget* parent = nullptr);

  QString text() const;
  void setText(const QString& text);

  QLineEdit* Edit() const { return edit_; }
  QToolButton* BrowseButton() const { return browse_; }

 private:
  void Browse();

  QLineEdit* edit_;
  QToolButton* browse_;
};
