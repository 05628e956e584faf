#include "map/CWebPage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QVariantMap>
#include <QWebEnginePage>
#include <QWebEngineScript>

namespace {

constexpr const char* kNullPointer = "NULL pointer";
constexpr const char* kCannotGetScript = "Cannot GetScript";
constexpr const char* kNoOutcome = "Script call ended without an outcome";

// Looks the function up on the page's global object by name and applies it
// to the texts; the outcome is a small object the callback can read.
constexpr const char* kCallTemplate = R"((function (call) {
  var name = call[0];
  var fn = window[name];
  if (typeof fn !== 'function') return { ok: false, error: 'No script function ' + name };
  try {
    var value = fn.apply(window, call.slice(1));
    return { ok: true, value: value === undefined ? null : value };
  } catch (e) {
    return { ok: false, error: name + ': ' + String(e && e.message ? e.message : e) };
  }
})(%1))";

}  // namespace

CWebPage::CWebPage() : m_state(std::make_shared<State>()) {}

CWebPage::~CWebPage() = default;

bool CWebPage::setDocument(QWebEnginePage* document) {
  if (document == nullptr) {
    m_state->lastError = kNullPointer;
    return false;
  }
  m_spDoc = document;
  return true;
}

bool CWebPage::getScript() {
  if (m_spDoc.isNull()) {
    m_state->lastError = kNullPointer;
    return false;
  }
  return true;
}

bool CWebPage::callScriptFunction(const QString& name, ScriptResult done) {
  return callScriptFunction(name, QStringList(), std::move(done));
}

bool CWebPage::callScriptFunction(const QString& name, const QString& first, const QString& second,
                                  ScriptResult done) {
  return callScriptFunction(name, QStringList{first, second}, std::move(done));
}

bool CWebPage::callScriptFunction(const QString& name, const QStringList& arguments,
                                  ScriptResult done) {
  if (!getScript()) {
    m_state->lastError = kCannotGetScript;
    return false;
  }
  std::weak_ptr<State> state = m_state;
  m_spDoc->runJavaScript(CallScript(name, arguments), QWebEngineScript::MainWorld,
                         [state, done = std::move(done)](const QVariant& outcome) {
                           const QVariantMap result = outcome.toMap();
                           const bool ok = result.value("ok").toBool();
                           if (!ok) {
                             if (auto alive = state.lock()) {
                               alive->lastError = result.contains("error")
                                                      ? result.value("error").toString()
                                                      : kNoOutcome;
                             }
                           }
                           if (done) done(ok, result.value("value"));
                         });
  return true;
}

QString CWebPage::CallScript(const QString& name, const QStringList& arguments) {
  QJsonArray call{name};
  for (const QString& argument : arguments) call.append(argument);
  const QString literal = QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact));
  return QString::fromLatin1(kCallTemplate).arg(literal);
}
