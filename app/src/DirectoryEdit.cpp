#include "app/DirectoryEdit.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

TDirectoryEdit::TDirectoryEdit(QWidget* parent)
    : QWidget(parent), edit_(new QLineEdit(this)), browse_(new QToolButton(this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(edit_);
  layout->addWidget(browse_);
  browse_->setText("...");
  connect(browse_, &QToolButton::clicked, this, [this] { Browse(); });
}

QString TDirectoryEdit::text() const { return edit_->text(); }

void TDirectoryEdit::setText(const QString& text) { edit_->setText(text); }

void TDirectoryEdit::Browse() {
  // The dialog of Qt (not the desktop's) on purpose: it always offers a new folder.
  const QString chosen = QFileDialog::getExistingDirectory(
      this, QString(), edit_->text(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (!chosen.isEmpty()) edit_->setText(chosen.endsWith('/') ? chosen : chosen + '/');
}
