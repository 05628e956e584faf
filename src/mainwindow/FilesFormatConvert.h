#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "convert/ConvertColumns.h"
#include "convert/LogConverter.h"

class ConversionJob;
class CPorotocalAnalyse;
class QCheckBox;
class QLabel;
class WindowServices;

namespace Ui {
class FilesFormatConvert;
}

// "文件转换": turns a raw log into a column text file with the chosen groups
// of quantities, by the same converter as tavrik-convert. The conversion runs
// on a thread of the dialog's own while the dialog shows how far it is and
// can stop it; the window never freezes. It decodes with an analyser of its
// own, so the live display and a replay are never disturbed. The main window
// owns one instance; the chosen paths stay between showings until a
// conversion has used them.
class FilesFormatConvert : public QDialog {
  Q_OBJECT

 public:
  // The file being recorded, empty when none.
  using RecordingPath = std::function<std::string()>;

  // configSource: the program's analyser, read for its configuration lines
  // (the heading convention) when a conversion starts. recordingPath is
  // asked at every conversion, so the running log is never chosen as target.
  FilesFormatConvert(WindowServices& services, const CPorotocalAnalyse& configSource,
                     RecordingPath recordingPath = {}, QWidget* parent = nullptr);
  // A conversion still running is stopped and waited for.
  ~FilesFormatConvert() override;

  // Shows the dialog modally, every group unchecked.
  int ShowModal();

  void OnChooseSource();
  void OnChooseTarget();
  void OnConvert();
  void OnCancel();

  bool IsConverting() const { return m_worker.joinable(); }
  const QString& SourcePath() const { return m_strSourcePath; }
  const QString& TargetPath() const { return m_strTargetPath; }

  // Runs on the conversion thread after each block, before the conversion
  // goes on; lets a test act at a known point of a conversion. Set it only
  // while no conversion runs.
  using BlockHook = std::function<void(const LogConverter::Step& step)>;
  void SetBlockHook(BlockHook hook) { m_blockHook = std::move(hook); }

  // Smaller than the command's blocks, so progress moves and a cancel
  // lands quickly.
  static constexpr size_t kBlockChars = size_t(1) << 20;

 public slots:
  // While converting, closing (Esc, the title bar) asks the conversion to
  // stop instead; the dialog closes once it is idle.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ConvertColumns ReadCheckBoxes() const;
  void StartWorker();
  void ShowProgress(const LogConverter::Step& step);
  void OnFinished(const LogConverter::Result& result);
  void SetConverting(bool converting);
  void ShowPaths();
  void ShowPath(QLabel& label, const QString& path, const QString& prompt);
  void ShowFinished(const QString& text);

  std::unique_ptr<Ui::FilesFormatConvert> m_ui;
  WindowServices& m_services;
  const CPorotocalAnalyse& m_configSource;
  RecordingPath m_recordingPath;
  QString m_strSourcePath;
  QString m_strTargetPath;
  std::unique_ptr<ConversionJob> m_job;
  std::thread m_worker;
  std::atomic<bool> m_bStop{false};
  BlockHook m_blockHook;
};
