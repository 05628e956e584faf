#include "mainwindow/FilesFormatConvert.h"

#include <QCheckBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <array>
#include <system_error>

#include "convert/ConversionJob.h"
#include "protocol/PorotocalAnalyse.h"
#include "services/WindowServices.h"
#include "ui_FilesFormatConvert.h"

namespace {

constexpr const char* kFilter = "Text files(*.txt)|*.txt|All files(*.*)|*.*||";
constexpr const char* kSourcePrompt = "请选择需要转换的文件";
constexpr const char* kTargetPrompt = "请选择保存文件的路径";
constexpr const char* kOpenFailed = "选择后文件后再进行转换，请重试";
constexpr const char* kSameFile = "源文件与保存文件相同，请重新选择";
constexpr const char* kTargetRecording = "保存文件正在记录数据，请重新选择";
constexpr const char* kWriteFailed = "写入转换文件失败：%1";
constexpr const char* kReadFailed = "读取源文件失败：%1";
constexpr const char* kFinished = "转换完成";
constexpr const char* kCancelled = "转换已取消";
constexpr const char* kRowsWritten = "已写入 %1 行";

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

QString ErrorText(int errorNumber) {
  if (errorNumber == 0) return Utf8("未知错误");
  return QString::fromLocal8Bit(std::generic_category().message(errorNumber));
}

std::string NativeName(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

FilesFormatConvert::FilesFormatConvert(WindowServices& services,
                                       const CPorotocalAnalyse& configSource,
                                       RecordingPath recordingPath, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::FilesFormatConvert>()),
      m_services(services),
      m_configSource(configSource),
      m_recordingPath(std::move(recordingPath)) {
  m_ui->setupUi(this);
  m_ui->conversionProgress->setRange(0, 100);
  m_ui->cancelButton->setEnabled(false);
  connect(m_ui->sourceButton, &QPushButton::clicked, this, &FilesFormatConvert::OnChooseSource);
  connect(m_ui->targetButton, &QPushButton::clicked, this, &FilesFormatConvert::OnChooseTarget);
  connect(m_ui->convertButton, &QPushButton::clicked, this, &FilesFormatConvert::OnConvert);
  connect(m_ui->cancelButton, &QPushButton::clicked, this, &FilesFormatConvert::OnCancel);
  connect(m_ui->exitButton, &QPushButton::clicked, this, &FilesFormatConvert::accept);
}

FilesFormatConvert::~FilesFormatConvert() {
  // The worker posts to this object until it ends, so it must end first.
  m_bStop.store(true);
  if (m_worker.joinable()) m_worker.join();
}

int FilesFormatConvert::ShowModal() {
  return m_services.RunModal(*this);
}

void FilesFormatConvert::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous() || IsConverting()) return;
  // Every showing starts with no group chosen and no conversion shown.
  for (QCheckBox* box : findChildren<QCheckBox*>()) box->setChecked(false);
  m_ui->conversionProgress->setRange(0, 100);
  m_ui->conversionProgress->setValue(0);
  m_ui->rowsLabel->clear();
  ShowPaths();
}

void FilesFormatConvert::done(int result) {
  if (IsConverting()) {
    OnCancel();
    return;
  }
  QDialog::done(result);
}

void FilesFormatConvert::OnChooseSource() {
  const FileDialogSpec dialog{Utf8("打开历史数据"), "txt", "1.txt", kFilter};
  if (std::optional<QString> path = m_services.OpenFileName(this, dialog)) {
    m_strSourcePath = *path;
    ShowPath(*m_ui->sourceLabel, m_strSourcePath, Utf8(kSourcePrompt));
  }
}

void FilesFormatConvert::OnChooseTarget() {
  const FileDialogSpec dialog{Utf8("保存转换数据"), "txt", "2.txt", kFilter};
  if (std::optional<QString> path = m_services.SaveFileName(this, dialog)) {
    m_strTargetPath = *path;
    ShowPath(*m_ui->targetLabel, m_strTargetPath, Utf8(kTargetPrompt));
  }
}

ConvertColumns FilesFormatConvert::ReadCheckBoxes() const {
  const std::array<std::pair<ColumnGroup, QCheckBox*>, kColumnGroupCount> boxes = {{
      {ColumnGroup::Velocity, m_ui->velocityCheck},
      {ColumnGroup::Position, m_ui->positionCheck},
      {ColumnGroup::Attitude, m_ui->attitudeCheck},
      {ColumnGroup::Gyro, m_ui->gyroCheck},
      {ColumnGroup::Accelerometer, m_ui->accelerometerCheck},
      {ColumnGroup::Magnetometer, m_ui->magnetometerCheck},
      {ColumnGroup::Barometer, m_ui->barometerCheck},
      {ColumnGroup::Temperature, m_ui->temperatureCheck},
      {ColumnGroup::TimeStamp, m_ui->timeStampCheck},
  }};
  ConvertColumns columns;
  for (const auto& [group, box] : boxes) columns.Select(group, box->isChecked());
  return columns;
}

void FilesFormatConvert::OnConvert() {
  if (IsConverting()) return;
  ConversionJob::Request request;
  request.sourcePath = NativeName(m_strSourcePath);
  request.targetPath = NativeName(m_strTargetPath);
  request.columns = ReadCheckBoxes();
  request.config = {m_configSource.GetConfigLine1(), m_configSource.GetConfigLine2()};
  request.blockChars = kBlockChars;
  if (m_recordingPath) request.busyPath = m_recordingPath();
  m_job = std::make_unique<ConversionJob>(std::move(request));

  switch (m_job->Open()) {
    case ConversionJob::Opening::Ready:
      StartWorker();
      return;
    case ConversionJob::Opening::SameFile:
      m_job.reset();
      m_services.MessageBox(this, Utf8(kSameFile));
      return;
    case ConversionJob::Opening::TargetBusy:
      m_job.reset();
      m_services.MessageBox(this, Utf8(kTargetRecording));
      return;
    case ConversionJob::Opening::TargetFailed:
      m_job.reset();
      m_services.MessageBox(this, Utf8(kOpenFailed));
      return;
    case ConversionJob::Opening::SourceFailed: {
      // The target was opened all the same: it keeps just the header.
      const LogConverter::Result result = m_job->Run();
      m_job.reset();
      m_services.MessageBox(this, Utf8(kOpenFailed));
      OnFinished(result);
      return;
    }
  }
}

void FilesFormatConvert::OnCancel() {
  if (!IsConverting()) return;
  m_bStop.store(true);
  m_ui->cancelButton->setEnabled(false);
}

void FilesFormatConvert::StartWorker() {
  m_bStop.store(false);
  SetConverting(true);
  ShowProgress(LogConverter::Step{0, m_job->LogSize(), 0});
  m_worker = std::thread([this, job = m_job.get()] {
    const LogConverter::Result result = job->Run([this](const LogConverter::Step& step) {
      m_services.PostToGui([this, step] { ShowProgress(step); }, this);
      if (m_blockHook) m_blockHook(step);
      return !m_bStop.load();
    });
    m_services.PostToGui([this, result] { OnFinished(result); }, this);
  });
}

void FilesFormatConvert::ShowProgress(const LogConverter::Step& step) {
  QProgressBar& bar = *m_ui->conversionProgress;
  if (step.total == 0) {
    bar.setRange(0, 0);  // size unknown: the bar only shows that work goes on
  } else {
    bar.setRange(0, 100);
    bar.setValue(int(std::min<uint64_t>(step.done, step.total) * 100 / step.total));
  }
  m_ui->rowsLabel->setText(Utf8(kRowsWritten).arg(step.rows));
}

void FilesFormatConvert::OnFinished(const LogConverter::Result& result) {
  if (m_worker.joinable()) m_worker.join();  // it has nothing left to do but end
  m_job.reset();
  SetConverting(false);
  m_ui->rowsLabel->setText(Utf8(kRowsWritten).arg(result.rows));
  switch (result.status) {
    case LogConverter::Status::Ok:
      if (m_ui->conversionProgress->maximum() == 0) {  // a log of unknown size is done too
        m_ui->conversionProgress->setRange(0, 100);
        m_ui->conversionProgress->setValue(100);
      }
      ShowFinished(Utf8(kFinished));
      break;
    case LogConverter::Status::Cancelled:
      ShowFinished(Utf8(kCancelled));
      break;
    case LogConverter::Status::WriteError:
      // The paths stay, so the conversion can be run again once the
      // target has room.
      m_services.MessageBox(this, Utf8(kWriteFailed).arg(ErrorText(result.errorNumber)));
      ShowPaths();
      break;
    case LogConverter::Status::ReadError:
      m_services.MessageBox(this, Utf8(kReadFailed).arg(ErrorText(result.errorNumber)));
      ShowPaths();
      break;
  }
}

void FilesFormatConvert::ShowFinished(const QString& text) {
  // A finished or stopped conversion has used its files; the next one
  // starts from new choices.
  m_strSourcePath.clear();
  m_strTargetPath.clear();
  for (QLabel* label : {m_ui->sourceLabel, m_ui->targetLabel}) {
    label->setText(text);
    label->setToolTip({});
  }
}

void FilesFormatConvert::SetConverting(bool converting) {
  // What a running conversion has already taken in stays as it was.
  for (QWidget* control : std::initializer_list<QWidget*>{m_ui->sourceButton, m_ui->targetButton,
                                                          m_ui->convertButton, m_ui->exitButton}) {
    control->setEnabled(!converting);
  }
  for (QCheckBox* box : findChildren<QCheckBox*>()) box->setEnabled(!converting);
  m_ui->cancelButton->setEnabled(converting);
}

void FilesFormatConvert::ShowPaths() {
  ShowPath(*m_ui->sourceLabel, m_strSourcePath, Utf8(kSourcePrompt));
  ShowPath(*m_ui->targetLabel, m_strTargetPath, Utf8(kTargetPrompt));
}

void FilesFormatConvert::ShowPath(QLabel& label, const QString& path, const QString& prompt) {
  if (path.isEmpty()) {
    label.setText(prompt);
    label.setToolTip({});
    return;
  }
  // A long path keeps its beginning and its file name.
  label.setText(label.fontMetrics().elidedText(path, Qt::ElideMiddle, label.width()));
  label.setToolTip(path);
}
