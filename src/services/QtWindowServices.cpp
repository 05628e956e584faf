#include "services/QtWindowServices.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <memory>

QString WindowServices::ApplicationName() {
  const QString name = QCoreApplication::applicationName();
  return name.isEmpty() ? QStringLiteral("Tavrik") : name;
}

QString QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|', Qt::SkipEmptyParts);
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    // The description usually names its patterns already, as in "Text files(*.txt)".
    if (!description.contains('(')) description += " (" + parts[i + 1] + ")";
    filters << description.replace('(', " (").replace("  (", " (");
  }
  return filters.join(";;");
}

void FitCaption(QMessageBox& box, const QString& caption) {
  // Room for the title bar's icon and buttons beside the text.
  constexpr int kTitleBarExtras = 140;
  const int wanted = box.fontMetrics().horizontalAdvance(caption) + kTitleBarExtras;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

namespace {

QFileDialog* MakeFileDialog(QWidget* owner, const FileDialogSpec& settings, bool save) {
  auto* dialog = new QFileDialog(owner, settings.title);
  dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog->setNameFilter(QtNameFilters(settings.filter));
  dialog->setDefaultSuffix(settings.defaultExtension);
  dialog->selectFile(settings.initialName);
  // Saving over an existing file is the program's habit: no prompt.
  dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog->setOption(QFileDialog::ReadOnly, false);
  return dialog;
}

std::optional<QString> RunFileDialog(QWidget* owner, const FileDialogSpec& settings, bool save) {
  std::unique_ptr<QFileDialog> dialog(MakeFileDialog(owner, settings, save));
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first();
}

}  // namespace

int QtWindowServices::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                 MessageButtons buttons, MessageIcon icon) {
  // Everything the box needs is copied, so that a caller released by
  // shutdown can return while the box is still open.
  auto result = std::make_shared<int>(kResultNone);
  auto show = [result, owner = QPointer<QWidget>(owner), text, caption, buttons, icon] {
    QMessageBox box(owner.data());
    box.setWindowTitle(caption.isEmpty() ? ApplicationName() : caption);
    box.setText(text);
    switch (icon) {
      case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
      case MessageIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
      case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
      case MessageIcon::None:
        break;
    }
    box.setStandardButtons(buttons == MessageButtons::OkCancel
                               ? QMessageBox::Ok | QMessageBox::Cancel
                               : QMessageBox::Ok);
    FitCaption(box, box.windowTitle());
    *result = box.exec() == QMessageBox::Ok ? kResultOk : kResultCancel;
  };
  // The box and its owner belong to the GUI thread; a worker only waits.
  if (!m_dispatcher.CallAndWait(show)) return kResultNone;
  return *result;
}

std::optional<QString> QtWindowServices::OpenFileName(QWidget* owner,
                                                      const FileDialogSpec& settings) {
  return RunFileDialog(owner, settings, false);
}

std::optional<QString> QtWindowServices::SaveFileName(QWidget* owner,
                                                      const FileDialogSpec& settings) {
  return RunFileDialog(owner, settings, true);
}

int QtWindowServices::RunModal(QDialog& dialog) {
  return dialog.exec() == QDialog::Accepted ? kResultOk : kResultCancel;
}

TickId QtWindowServices::StartTick(int periodMs, std::function<void()> callback) {
  return m_ticks.Start(periodMs, std::move(callback));
}

void QtWindowServices::StopTick(TickId id) {
  m_ticks.Stop(id);
}

void QtWindowServices::PostToGui(std::function<void()> call, QObject* context) {
  m_dispatcher.Post(std::move(call), context);
}

bool QtWindowServices::CallOnGui(std::function<void()> call) {
  return m_dispatcher.CallAndWait(std::move(call));
}

void QtWindowServices::ReleaseWaiters() {
  m_dispatcher.Release();
}
