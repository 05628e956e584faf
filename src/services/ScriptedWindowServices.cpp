#include "services/ScriptedWindowServices.h"

int ScriptedWindowServices::MessageBox(QWidget*, const QString& text, const QString& caption,
                                       MessageButtons buttons, MessageIcon icon) {
  std::lock_guard guard(m_lock);
  m_messages.push_back({text, caption.isEmpty() ? ApplicationName() : caption, buttons, icon});
  if (m_answers.empty()) return kResultOk;
  const int answer = m_answers.front();
  m_answers.pop_front();
  return answer;
}

std::optional<QString> ScriptedWindowServices::OpenFileName(QWidget*,
                                                            const FileDialogSpec& settings) {
  std::lock_guard guard(m_lock);
  m_fileDialogs.push_back(settings);
  if (m_fileNames.empty()) return std::nullopt;
  const bool chosen = m_fileNames.front().has_value();
  const QString name = chosen ? *m_fileNames.front() : QString();
  m_fileNames.pop_front();
  if (!chosen) return std::nullopt;
  return name;
}

std::optional<QString> ScriptedWindowServices::SaveFileName(QWidget* owner,
                                                            const FileDialogSpec& settings) {
  return OpenFileName(owner, settings);
}

int ScriptedWindowServices::RunModal(QDialog& dialog) {
  std::function<int(QDialog&)> handler;
  {
    std::lock_guard guard(m_lock);
    handler = m_modalHandler;
  }
  return handler ? handler(dialog) : kResultCancel;
}

TickId ScriptedWindowServices::StartTick(int periodMs, std::function<void()> callback) {
  std::lock_guard guard(m_lock);
  const TickId id = m_nextTick++;
  m_ticks.emplace(id, Tick{periodMs, std::move(callback)});
  return id;
}

void ScriptedWindowServices::StopTick(TickId id) {
  std::lock_guard guard(m_lock);
  m_ticks.erase(id);
}

bool ScriptedWindowServices::CallOnGui(std::function<void()> call) {
  return m_dispatcher.CallAndWait(std::move(call));
}

void ScriptedWindowServices::QueueAnswer(int result) {
  std::lock_guard guard(m_lock);
  m_answers.push_back(result);
}

void ScriptedWindowServices::QueueFileName(std::optional<QString> path) {
  std::lock_guard guard(m_lock);
  m_fileNames.push_back(std::move(path));
}

void ScriptedWindowServices::SetModalHandler(std::function<int(QDialog&)> handler) {
  std::lock_guard guard(m_lock);
  m_modalHandler = std::move(handler);
}

std::vector<ScriptedWindowServices::Message> ScriptedWindowServices::Messages() const {
  std::lock_guard guard(m_lock);
  return m_messages;
}

QStringList ScriptedWindowServices::MessageTexts() const {
  std::lock_guard guard(m_lock);
  QStringList texts;
  for (const Message& m : m_messages) texts << m.text;
  return texts;
}

std::vector<FileDialogSpec> ScriptedWindowServices::FileDialogs() const {
  std::lock_guard guard(m_lock);
  return m_fileDialogs;
}

void ScriptedWindowServices::ClearMessages() {
  std::lock_guard guard(m_lock);
  m_messages.clear();
}

int ScriptedWindowServices::FireTicks(int periodMs) {
  std::vector<std::function<void()>> due;
  {
    std::lock_guard guard(m_lock);
    for (const auto& [id, tick] : m_ticks) {
      if (tick.periodMs == periodMs) due.push_back(tick.callback);
    }
  }
  for (auto& callback : due) callback();
  return int(due.size());
}

bool ScriptedWindowServices::TickRunning(int periodMs) const {
  std::lock_guard guard(m_lock);
  for (const auto& [id, tick] : m_ticks) {
    if (tick.periodMs == periodMs) return true;
  }
  return false;
}
