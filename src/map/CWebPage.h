#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWebEnginePage>
#include <functional>
#include <memory>

// Calls named functions of the map page's script with text arguments.
// Script runs asynchronously in the browser, and nothing here waits for it:
// a call returns at once whether it could be issued, and its outcome comes
// back later to the optional callback. Failures are only recorded in
// lastError(); nothing is shown.
class CWebPage {
 public:
  // ok is false when the function is missing or threw; value is what it
  // returned.
  using ScriptResult = std::function<void(bool ok, const QVariant& value)>;

  CWebPage();
  virtual ~CWebPage();
  CWebPage(const CWebPage&) = delete;
  CWebPage& operator=(const CWebPage&) = delete;

  // Takes a page that has finished loading; null gives "NULL pointer".
  bool setDocument(QWebEnginePage* document);
  // Forgets the page, so calls fail until the next one is taken.
  void releaseDocument() { m_spDoc = nullptr; }
  // Whether a page is held whose script can be called.
  bool getScript();
  // The same question without recording anything, for callers that wait.
  bool HasDocument() const { return !m_spDoc.isNull(); }

  bool callScriptFunction(const QString& name, ScriptResult done = {});
  bool callScriptFunction(const QString& name, const QString& first, const QString& second,
                          ScriptResult done = {});
  bool callScriptFunction(const QString& name, const QStringList& arguments,
                          ScriptResult done = {});

  QString lastError() const { return m_state->lastError; }

  // The script text for one call: the name and every argument travel as
  // JSON string literals, so no text can become script.
  static QString CallScript(const QString& name, const QStringList& arguments);

 private:
  // Outlives this object while calls are under way, so a late outcome
  // never writes into a destroyed page wrapper.
  struct State {
    QString lastError;
  };

  QPointer<QWebEnginePage> m_spDoc;
  std::shared_ptr<State> m_state;
};
