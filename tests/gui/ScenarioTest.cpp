// The windows' handlers as scenarios. Each script tests/data/gui/NAME.scn is a list of steps, a
// fresh main window for each "== title" section (files written stay for the whole script); after
// every step the runner writes what the user sees happen (every dialog with its title, each
// message with the controls changed by the time it showed, then the named controls that changed,
// the focus, the windows' state), and the transcript must equal NAME.out beside the script byte
// for byte. The temporary folder shows as $T (upper-cased where the program upper-cases paths);
// in a step \xHH is that byte and \*N:c the character c N times. Steps:
//   file NAME | line | ...              writes a file of CR LF lines
//   marks NAME | sheet number east north height order | ...   a file of mark lines ("-": empty)
//   rows psm,east,north,height,order,zone,datum,status | ...  replaces the mark list
//   start [ARGUMENT]                     a fresh window started with the dump path of ARGUMENT
//   answer [PATH] / printer [PATH]       queues a file or print dialog's answer (none: cancel)
//   preview FILE / pdf FILE              where previews draw; the lines of a PDF file's pages
//   click / trigger / set NAME [TEXT]    a button, an action, a box, combo or tick (1, 0, partial)
//   cell R C / dclick R C / setcell R C TEXT / type TEXT / enter TEXT / key NAME / pick ROW...
//   criteria [TEXT]                      the user's criteria file (configuration folder) holds
//                                        TEXT, until the next section (none: no file)
//   tip NAME                             a control's tool tip, its lines joined by "/"
//   toolbar KEY / show FILE / settings / mode MODE / controls (all of them as they are) / close
//   date TEXT (of the reports) / help BOOK (shows the help window on it) / diagnosis (what the
//   results window's diagnosis panel shows; other steps leave it out) / diagram ROW (what the
//   Diagram tab draws and chooses)
//   during STEP ; STEP ...               steps run in the first event loop turn of the next one
//   layout RULE | ... / columns GRID | SAMPLE | ... / grow NAME WIDTH HEIGHT / look NAME / shown /
//   list NAME                            where controls lie, how wide the columns are, how much
//                                        a control grows, how it looks (see layout.scn)
// A control of another window is named window.control (display, joins, import, help); the
// program's folder shows as $PROGRAM, the configuration folder as $CONFIG.

#include <gtest/gtest.h>

#include <QtPrintSupport/QPrinter>
#include <QtTest>
#include <QtWidgets>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CompareFixtures.h"
#include "MarkDetailsLines.h"
#include "PdfText.h"
#include "TempFolder.h"
#include "app/CommandLine.h"
#include "app/Dialogs.h"
#include "app/frmKestralMGA.h"
#include "app/modHtmlHelp.h"
#include "joins/frmMGAJoins.h"
#include "marks/ui/MarkTableModel.h"
#include "marks/ui/frmImportText.h"
#include "reports/ui/JoinDiagramView.h"
#include "reports/ui/frmMGADisplay.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;
using Lines = std::vector<std::string>;
using modKestralMGA::MessageIcon;
using modKestralMGA::testsupport::ReadBytes;
using modKestralMGA::testsupport::Replaced;
using modKestralMGA::testsupport::Split;

// Records every dialog shown as a line of Log ("message Title (E): text", "open Title | initial
// name | filter", "save ... | confirm", "printer Title", "preview Title") and answers the file
// prompts from a queue (an empty answer cancels; a prompt with the queue empty fails the test).
// The print dialog prints to the PDF file queued for it ("" cancels); a preview draws into
// PreviewPdf when set, never shown.
class ScriptedDialogs final : public Dialogs {
 public:
  bool AllAnswered() const { return Answers.empty() && PrinterAnswers.empty(); }

  void Message(const std::string& text, const std::string& title, MessageIcon icon) override {
    Log.push_back("message " + title + " (" + "CEI"[int(icon)] + "): " + text);
    if (OnMessage) OnMessage();
  }
  std::string OpenFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter) override {
    Log.push_back("open " + title + " | " + initialName + " | " + filter);
    return Next(Answers, title);
  }
  // Answered from the same queue: "save", "discard", anything else cancels.
  SaveAnswer AskToSave(const std::string& text, const std::string& title) override {
    Log.push_back("ask " + title + ": " + text);
    const std::string answer = Next(Answers, title);
    return answer == "save" ? SaveAnswer::Save
                            : (answer == "discard" ? SaveAnswer::Discard : SaveAnswer::Cancel);
  }
  // Answered from the same queue: "continue", anything else cancels.
  bool AskToContinue(const std::string& text, const std::string& title) override {
    Log.push_back("ask " + title + ": " + text);
    return Next(Answers, title) == "continue";
  }
  // A name typed without an extension gets the filter's, as the save dialog adds it.
  std::string SaveFileName(const std::string& title, const std::string& initialName,
                           const std::string& filter, bool confirmReplace) override {
    Log.push_back("save " + title + " | " + initialName + " | " + filter +
                  (confirmReplace ? " | confirm" : ""));
    std::string name = Next(Answers, title);
    const std::string suffix = DefaultSuffix(filter);
    if (!name.empty() && !suffix.empty() &&
        name.find('.', name.find_last_of('/') + 1) == std::string::npos) {
      name += "." + suffix;
    }
    return name;
  }
  bool ChoosePrinter(const std::string& title, QPrinter& printer) override {
    Log.push_back("printer " + title);
    const std::string path = Next(PrinterAnswers, title);
    if (!path.empty()) ToPdf(printer, path);
    return !path.empty();
  }
  void ShowPrintPreview(const std::string& title,
                        const std::function<void(QPrinter&)>& paint) override {
    Log.push_back("preview " + title);
    if (PreviewPdf.empty()) return;
    QPrinter printer(QPrinter::HighResolution);
    ToPdf(printer, PreviewPdf);
    paint(printer);
  }

  Lines Log;
  std::deque<std::string> Answers, PrinterAnswers;
  std::string PreviewPdf;
  std::function<void()> OnMessage;  // runs as each message box would show

 private:
  static std::string Next(std::deque<std::string>& answers, const std::string& title) {
    if (answers.empty()) {
      ADD_FAILURE() << "The dialog \"" << title << "\" came with no answer queued";
      return {};
    }
    std::string answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
  static void ToPdf(QPrinter& printer, const std::string& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
  }
};

// Where the main window looks for the user's criteria file.
QString UserCriteriaPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
         QStringLiteral("/criteria.json");
}

// A fresh main window for each section of a script, shown (never exec()'d), with its own scripted
// dialogs and a temporary folder for the files it reads and writes.
class ScenarioTest : public ::testing::TestWithParam<const char*> {
 protected:
  // Builds the window, runs its start-up with commandLine and shows it. Qt's model tester checks
  // every model of its views (and of the results and join windows) at each change.
  // Each start begins with an empty settings store, unless it is the second run of a restart.
  void Start(const std::string& commandLine = {}, bool keepSettings = false) {
    if (!keepSettings) QSettings().clear();
    m_testers.clear();
    m_window = std::make_unique<frmKestralMGA>(m_dialogs);
    for (QWidget* window :
         std::initializer_list<QWidget*>{m_window.get(), &Results(), &m_window->JoinsWindow()}) {
      for (auto* view : window->findChildren<QAbstractItemView*>()) {
        m_testers.push_back(std::make_unique<QAbstractItemModelTester>(
            view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal));
      }
    }
    // The printed join list carries a date: a fixed one, never the clock's.
    m_window->JoinsWindow().SetReportDate([] { return std::string("Saturday, June 01, 2019"); });
    m_window->Form_Load(commandLine);
    m_window->show();
    m_window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
  }

  QTableView* Grid() { return m_window->findChild<QTableView*>(QStringLiteral("Grid1")); }
  // Clicks a cell, then double-clicks it when twice.
  void ClickCell(int gridRow, int column, bool twice = false) {
    const QRect cell = Grid()->visualRect(Grid()->model()->index(gridRow - 1, column));
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    if (twice) QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, cell.center());
  }

  // Types text into whichever control has the focus, a key at a time, as the user would (Qt's
  // key code of a letter is the capital letter's code).
  void Type(const QString& text) {
    for (const QChar c : text) {
      QTest::sendKeyEvent(QTest::Click, m_window->focusWidget(),
                          static_cast<Qt::Key>(c.toUpper().unicode()), QString(c), Qt::NoModifier);
    }
  }

  frmMGADisplay& Results() { return m_window->ResultsWindow(); }

  std::vector<std::pair<QWidget*, std::string>> Windows() {
    std::vector<std::pair<QWidget*, std::string>> windows = {
        {m_window.get(), ""},
        {&Results(), "display."},
        {&m_window->JoinsWindow(), "joins."},
        {&m_window->ImportWindow(), "import."}};
    if (QWidget* help = modHtmlHelp::HelpWindowOf(*m_window)) windows.emplace_back(help, "help.");
    return windows;
  }
  // The prefix of the window o lies in (a menu's own window counts as its parent's).
  std::string PrefixOf(const QObject* o) {
    for (; o; o = o->parent()) {
      for (const auto& [window, prefix] : Windows())
        if (o->isWidgetType() && static_cast<const QWidget*>(o)->window() == window) return prefix;
    }
    return "?";
  }
  QObject* Named(const std::string& name) {
    for (const auto& [window, prefix] : Windows()) {
      for (QObject* o : window->findChildren<QObject*>()) {
        if (prefix + o->objectName().toStdString() == name && PrefixOf(o) == prefix) return o;
      }
    }
    throw std::runtime_error("no control " + name);
  }
  QWidget* Widget(const std::string& name) { return qobject_cast<QWidget*>(Named(name)); }

  // Checks layout rules, each "a < b" (a wholly left of b), "a ^ b" (a wholly above b), "a = b"
  // (tops level), "a [ b" (a inside b), "a ] b" (a as wide as b at least, on both sides) or
  // "a @ b" (a exactly over the current cell of the view b); the controls named alone lie inside
  // their window and do not overlap.
  void ExpectLayout(const Lines& rules) {
    Lines apart;
    for (const std::string& rule : rules) {
      const std::size_t blank = rule.find(' ');
      if (blank == std::string::npos) {
        apart.push_back(rule);
        continue;
      }
      const QWidget* one = Widget(rule.substr(0, blank));
      const QWidget* other = Widget(rule.substr(blank + 3));
      const QRect a = InWindow(one), b = InWindow(other);
      const auto* view = qobject_cast<const QAbstractItemView*>(other);
      const char op = rule[blank + 1];
      const bool holds = op == '<'   ? a.right() < b.left()
                         : op == '^' ? a.bottom() < b.top()
                         : op == '=' ? a.top() == b.top()
                         : op == ']' ? a.left() <= b.left() && a.right() >= b.right()
                         : op == '@' ? one->geometry() == view->visualRect(view->currentIndex())
                                     : b.contains(a);
      EXPECT_TRUE(holds) << rule;
    }
    for (const std::string& a : apart) {
      const QRect area = InWindow(Widget(a));
      EXPECT_TRUE(Widget(a)->window()->rect().contains(area)) << a << " lies outside its window";
      for (const std::string& b : apart)
        EXPECT_TRUE(a == b || !area.intersects(InWindow(Widget(b)))) << a << " overlaps " << b;
    }
  }
  // Where a control lies in its window.
  static QRect InWindow(const QWidget* w) {
    return {w->mapTo(w->window(), QPoint(0, 0)), w->size()};
  }
  // Checks that each column of the grid first named is the width of its sample text (those after
  // the grid's name) in the main window's font plus the same cell margin, and that the grid shows
  // them all beside its scroll bar.
  void ExpectColumns(const Lines& gridAndSamples) {
    const auto& grid = *qobject_cast<QTableView*>(Named(gridAndSamples[0]));
    const QFontMetrics metrics(m_window->font());
    auto width = [&](int c) {
      return metrics.horizontalAdvance(QString::fromStdString(gridAndSamples[std::size_t(c + 1)]));
    };
    const int chrome = grid.columnWidth(0) - width(0);
    EXPECT_TRUE(chrome >= 0 && chrome < 16) << chrome;
    const int last = int(gridAndSamples.size()) - 2;  // stretches to the grid's edge
    for (int c = 1; c < last; ++c) EXPECT_EQ(grid.columnWidth(c), width(c) + chrome) << c;
    EXPECT_GE(grid.columnWidth(last), width(last) + chrome);
    EXPECT_GE(grid.width(), grid.horizontalHeader()->length() + 2 * grid.frameWidth());
  }

  // What the user reads of every named control and window, in creation order: captions, texts,
  // items, headers, shortcuts, keys, ticks, rows; disabled, hidden, the focus. m_kinds keeps each
  // control's class and parent. What the results window's diagnosis panel holds shows only when
  // asked (the steps controls and diagnosis), so that a comparison's changes stay the list's.
  Entries Snapshot(bool withDiagnosis = false) {
    Entries out;
    std::set<const QObject*> seen;
    int helpWindows = 0;
    for (const QWidget* w : QApplication::topLevelWidgets())
      helpWindows += w->objectName() == "frmHelp";
    out.emplace_back("help windows", std::to_string(helpWindows));
    // Built a piece at a time: GCC 12 warns falsely of overlapping copies in the one expression.
    std::string cell = std::to_string(m_window->CurrentGridRow());
    cell.insert(0, 1, '@').append(",").append(std::to_string(m_window->CurrentColumn()));
    out.emplace_back("current cell", cell);
    for (const auto& [window, prefix] : Windows()) {
      QString state = window->windowTitle() + (window->isVisible() ? " | shown" : " | hidden") +
                      (window->isWindowModified() ? " | changed" : "");
      if (!window->isEnabled()) state += " disabled";
      if (window->cursor().shape() == Qt::WaitCursor) state += " busy";
      if (QApplication::activeModalWidget() == window) state += " modal";
      out.emplace_back(window->objectName().toStdString(), state.toStdString());
      m_kinds[out.back().first] =
          window->parent() ? window->parent()->objectName().toStdString() : "";
      for (const QObject* o : window->findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith(u"qt_") || name == u"qtooltip_label" ||
            PrefixOf(o) != prefix || (!withDiagnosis && InDiagnosisPanel(o)) ||
            !seen.insert(o).second)
          continue;
        const std::string key = prefix + name.toStdString();
        m_kinds[key] = std::string(o->metaObject()->className()) + " | " +
                       o->parent()->objectName().toStdString();
        QStringList f;
        if (auto* menu = qobject_cast<const QMenu*>(o)) {
          f << menu->title();
          for (const QAction* item : menu->actions()) f << item->objectName();
        } else if (auto* a = qobject_cast<const QAction*>(o)) {
          f << a->text() << a->shortcut().toString() << a->data().toString();
          if (!a->isEnabled()) f << "disabled";
        } else if (auto* b = qobject_cast<const QAbstractButton*>(o)) {
          f << b->text() << (b->isChecked() ? "ticked" : "") << b->toolTip();
        } else if (auto* l = qobject_cast<const QLabel*>(o)) {
          f << l->text() << (l->buddy() ? l->buddy()->objectName() : "");
        } else if (auto* e = qobject_cast<const QLineEdit*>(o)) {
          f << e->text() + (e->hasFocus() ? " @" + QString::number(e->cursorPosition()) : "");
        } else if (auto* t = qobject_cast<const QTextEdit*>(o)) {  // the page's first line
          f << t->toPlainText().section(u'\n', 0, 0);
        } else if (auto* g = qobject_cast<const QGroupBox*>(o)) {
          f << g->title();
        } else if (auto* c = qobject_cast<const QComboBox*>(o)) {
          f << (c->isEditable() ? "editable" : "") << c->currentText();
          for (int i = 0; i < c->count(); ++i) f << c->itemText(i);
        } else if (auto* view = qobject_cast<const QAbstractItemView*>(o)) {
          const QAbstractItemModel* m = view->model();
          f << QString::number(m->rowCount()) + " rows";
          QStringList headers;
          for (int col = 0; col < m->columnCount(); ++col)
            headers << m->headerData(col, Qt::Horizontal).toString();
          out.emplace_back(key + " columns", headers.join(u" | ").toStdString());
          for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int col = 0; col < m->columnCount(); ++col)
              cells << m->index(r, col).data().toString();
            out.emplace_back(key + "[" + std::to_string(r + 1) + "]",
                             cells.join(u" | ").toStdString());
          }
        }
        QString v = f.join(u" | ");
        if (auto* w = qobject_cast<const QWidget*>(o); w && !qobject_cast<const QMenu*>(o)) {
          if (!w->isEnabled()) v += " (disabled)";
          if (!w->isVisibleTo(w->window())) v += " (hidden)";
          if (w->hasFocus()) v += " (focus)";
        }
        out.emplace_back(key, v.toStdString());
      }
    }
    return out;
  }

  static bool InDiagnosisPanel(const QObject* o) {
    for (o = o->parent(); o; o = o->parent())
      if (o->objectName() == u"grpDiagnosis") return true;
    return false;
  }

  // Runs one step: the kind named by its first word, given the rest of the line.
  void Step(const std::string& step, std::string& out) {
    const std::size_t blank = step.find(' ');
    const auto kind = m_steps.find(step.substr(0, blank));
    if (kind == m_steps.end()) throw std::runtime_error("unknown step " + step);
    kind->second(blank == std::string::npos ? "" : step.substr(blank + 1), out);
  }
  // The blank-separated word i of a step, empty when it has fewer.
  static std::string Word(const std::string& rest, std::size_t i) {
    const Lines words = Split(rest, " ");
    return i < words.size() ? words[i] : "";
  }
  static int Number(const std::string& rest, std::size_t i) { return std::stoi(Word(rest, i)); }

  // Writes the lines of a file step, or the mark lines of a marks step, each ended by CR LF, to the
  // file of the temporary folder first named.
  void WriteLines(const std::string& rest, bool marks) {
    const Lines parts = Split(rest, " | ");
    std::string bytes;
    for (std::size_t i = 1; i < parts.size(); ++i) {
      std::istringstream f(parts[i]);
      Lines v(6);
      for (std::string& field : v) f >> field, field = field == "-" ? "" : field;
      bytes += (marks ? MarkTestLine(v[0], v[1], v[2], v[3], v[4], v[5]) : parts[i]) + "\r\n";
    }
    m_folder.Write(parts[0], bytes);
  }

  // The step kinds by their first word, each given the rest of its line and the transcript.
  using StepKind = std::function<void(const std::string& rest, std::string& out)>;
  const std::map<std::string, StepKind> m_steps = {
      {"file", [this](auto& rest, auto&) { WriteLines(rest, false); }},
      {"marks", [this](auto& rest, auto&) { WriteLines(rest, true); }},
      {"rows",
       [this](auto& rest, auto&) {
         m_window->MarkModel().Load([&](modKestralMGA::MarkList& list) {
           list.Clear();
           for (const std::string& text : Split(rest, " | ")) {
             modKestralMGA::MarkRow markRow;
             std::istringstream fields(text);
             for (std::string& cell : markRow) std::getline(fields, cell, ',');
             list.AppendRow(markRow);
           }
         });
       }},
      {"start",
       [this](auto& rest, auto&) {
         Start(rest.empty() ? "" : DumpPathFromArguments({rest}));
         m_dialogs.OnMessage = [this] { m_atMessage.push_back(Diff("    ")); };
       }},
      {"answer", [this](auto& rest, auto&) { m_dialogs.Answers.push_back(rest); }},
      {"criteria",
       [](auto& rest, auto&) {
         QFile::remove(UserCriteriaPath());
         if (rest.empty()) return;
         QDir().mkpath(QFileInfo(UserCriteriaPath()).path());
         QFile file(UserCriteriaPath());
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
         file.write(rest.data(), qint64(rest.size()));
       }},
      {"tip",
       [this](auto& rest, auto& out) {
         const QString tip = Widget(rest)->toolTip();
         out.append("  tip: ").append(QString(tip).replace(u'\n', u'/').toStdString()).append("\n");
       }},
      {"printer", [this](auto& rest, auto&) { m_dialogs.PrinterAnswers.push_back(rest); }},
      {"click", [this](auto& rest, auto&) { QTest::mouseClick(Widget(rest), Qt::LeftButton); }},
      {"trigger", [this](auto& rest, auto&) { qobject_cast<QAction*>(Named(rest))->trigger(); }},
      {"set",  // a box, combo, tick (1, 0, partial) or the help window's page
       [this](auto& rest, auto&) {
         const std::size_t cut = rest.find(' ');
         const std::string text = cut == std::string::npos ? "" : rest.substr(cut + 1);
         QObject* o = Named(rest.substr(0, cut));
         const QString value = QString::fromStdString(text);
         if (auto* browser = qobject_cast<QTextBrowser*>(o))
           browser->setSource(QUrl(value));
         else if (auto* tick = qobject_cast<QCheckBox*>(o))
           tick->setCheckState(text == "1"         ? Qt::Checked
                               : text == "partial" ? Qt::PartiallyChecked
                                                   : Qt::Unchecked);
         else if (auto* combo = qobject_cast<QComboBox*>(o))
           combo->setCurrentText(value);
         else
           qobject_cast<QLineEdit*>(o)->setText(value);
       }},
      {"cell", [this](auto& rest, auto&) { ClickCell(Number(rest, 0), Number(rest, 1)); }},
      {"dclick", [this](auto& rest, auto&) { ClickCell(Number(rest, 0), Number(rest, 1), true); }},
      {"setcell",
       [this](auto& rest, auto&) {
         m_window->MarkModel().SetCell(std::size_t(Number(rest, 0) - 1), Number(rest, 1),
                                       Word(rest, 2));
       }},
      {"type", [this](auto& rest, auto&) { Type(QString::fromStdString(rest)); }},
      {"enter",
       [this](auto& rest, auto&) {
         Type(QString::fromStdString(rest));
         QTest::keyClick(m_window->focusWidget(), Qt::Key_Return);
       }},
      {"key",  // to the focus, or to the control named after the key (Ctrl+C, F2, Delete)
       [this](auto& rest, auto&) {
         const std::string target = Word(rest, 1);
         const QKeyCombination key = QKeySequence(QString::fromStdString(Word(rest, 0)))[0];
         QTest::keyClick(
             target.empty() ? m_window->focusWidget() : qobject_cast<QWidget*>(Named(target)),
             key.key(), key.keyboardModifiers());
       }},
      {"restart",  // the main window closed and started again with the settings it left
       [this](auto&, auto&) {
         m_window->close();
         Start({}, /*keepSettings=*/true);
       }},
      {"drop",  // a file dropped on the main window
       [this](auto& rest, auto&) {
         QMimeData data;
         data.setUrls({QUrl::fromLocalFile(QString::fromStdString(rest))});
         QDropEvent drop(QPointF(m_window->rect().center()), Qt::CopyAction, &data, Qt::LeftButton,
                         Qt::NoModifier);
         // Straight to the window: the application delivers a drop only to a drag in progress.
         static_cast<QObject*>(m_window.get())->event(&drop);
       }},
      {"clip",  // the clipboard's text, \t and \n for tabs and line ends
       [](auto& rest, auto&) {
         QGuiApplication::clipboard()->setText(
             QString::fromStdString(Replaced(Replaced(rest, "\\t", "\t"), "\\n", "\n")));
       }},
      {"clipboard",
       [](auto&, auto& out) {
         const std::string text = QGuiApplication::clipboard()->text().toStdString();
         out += "  clipboard: " + Replaced(Replaced(text, "\t", "\\t"), "\n", "\\n") + "\n";
       }},
      {"pick",  // entries of the join window's list
       [this](auto& rest, auto&) {
         auto* list = qobject_cast<QListView*>(Named("joins.lstMarks"));
         for (const std::string& row : Split(rest, " ")) {
           const QModelIndex entry = list->model()->index(std::stoi(row) - 1, 0);
           list->scrollTo(entry);
           QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                             list->visualRect(entry).center());
         }
       }},
      {"toolbar",  // a toolbar button whose key is rest
       [this](auto& rest, auto&) {
         QAction button(QStringLiteral("button"));
         button.setData(QString::fromStdString(rest));
         m_window->Toolbar1_ButtonClick(&button);
       }},
      {"show",
       [this](auto& rest, auto& out) {
         out += Replaced(ReadBytes(m_folder / rest), "\r\n", "<CR LF>\n");
       }},
      {"preview", [this](auto& rest, auto&) { m_dialogs.PreviewPdf = m_folder / rest; }},
      {"pdf",  // the lines of a printed file, page by page
       [this](auto& rest, auto& out) {
         using namespace modKestralMGA::testsupport;
         for (const Lines& page : PdfPageLines(ReadPdfWords(KESTRAL_PDFTOTEXT, m_folder / rest))) {
           out += "  -- page\n";
           for (const std::string& line : page) out += "  | " + line + "\n";
         }
       }},
      {"controls",  // every control, with its class and parent
       [this](auto&, auto& out) {
         for (const auto& [name, value] : Snapshot(true)) {
           const auto kind = m_kinds.find(name);
           out += name + (kind == m_kinds.end() ? "" : " | " + kind->second) + " | " + value + "\n";
         }
       }},
      {"diagnosis",  // what the results window's diagnosis panel shows
       [this](auto&, auto& out) {
         std::set<std::string> elsewhere;
         for (const auto& entry : Snapshot()) elsewhere.insert(entry.first);
         for (const auto& [name, value] : Snapshot(true))
           if (!elsewhere.contains(name)) out += "  " + name + ": " + value + "\n";
       }},
      {"during",  // steps ("; " between) run in the next command's first turn
       [this](auto& rest, auto& out) {
         m_window->PendingTurns().SetInterval(std::chrono::milliseconds(0));
         QTimer::singleShot(0, m_window.get(), [this, rest, &out] {
           for (const std::string& inner : Split(rest, " ; ")) {
             out += "  during the first turn > " + inner + "\n";
             Step(inner, out);
             out += Changes();
           }
         });
       }},
      {"date",  // the date the reports and the printed join list carry
       [this](auto& rest, auto&) {
         Results().SetReportDate([rest] { return rest; });
         m_window->JoinsWindow().SetReportDate([rest] { return rest; });
       }},
      {"close",  // a window (display, joins, import, help), else the main one
       [this](auto& rest, auto&) {
         for (const auto& [window, prefix] : Windows())
           if (prefix == rest + "." || prefix.empty() == rest.empty()) window->close();
       }},
      {"help",
       [this](auto& rest, auto&) {
         modHtmlHelp::ShowHelp(*m_window, QFile::decodeName(rest.c_str()));
       }},
      {"settings",
       [this](auto&, auto& out) {
         const frmKestralMGA& s = *m_window;
         out += s.MaxOrderText() + " | " + s.AverageHeightText() + " | " + s.PlanIdentifier() +
                " | " + s.AccuracyCriterionText() + " | " + s.Datum1Text() + " | " +
                s.Datum2Text() + " | " + (s.TwoPsms() ? "2 PSMs" : "-") + " | " +
                (s.FullDetails() ? "full" : "-") + " | mode " +
                std::to_string(int(s.CalculationMode())) + " | results list " +
                std::to_string(Results().PrintList()) + ", full joins " +
                std::to_string(Results().FullJoins()) + ", to file " +
                std::to_string(Results().ToFile()) + "\n";
       }},
      {"layout", [this](auto& rest, auto&) { ExpectLayout(Split(rest, " | ")); }},
      {"columns", [this](auto& rest, auto&) { ExpectColumns(Split(rest, " | ")); }},
      {"grow",  // a control's window by a width and a height: how much the control grows
       [this](auto& rest, auto& out) {
         QWidget* control = Widget(Word(rest, 0));
         QWidget* window = control->window();
         const QSize before = control->size(),
                     size = window->size() + QSize(Number(rest, 1), Number(rest, 2));
         window->resize(size);
         EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == size; }));
         const QSize grown = control->size() - before;
         out += "  grows " + std::to_string(grown.width()) + " " + std::to_string(grown.height()) +
                "\n";
       }},
      {"look",  // a line box's frame and colour
       [this](auto& rest, auto& out) {
         const auto* box = qobject_cast<QLineEdit*>(Named(rest));
         out += std::string(box->hasFrame() ? "  framed" : "  frameless") + ", base " +
                box->palette().color(QPalette::Base).name().toStdString() + "\n";
       }},
      {"shown",  // whether the grid shows its current row whole and is scrolled to its end
       [this](auto&, auto& out) {
         const QRect row = Grid()->visualRect(Grid()->currentIndex().siblingAtColumn(0));
         const QScrollBar* rows = Grid()->verticalScrollBar();
         out += Grid()->viewport()->rect().contains(row) ? "  current row shown"
                                                         : "  current row hidden";
         out += rows->value() < rows->maximum() ? "\n"
                : rows->value()                 ? ", scrolled to the end\n"
                                                : ", nothing to scroll\n";
       }},
      {"list",  // whether a list's font has one width for every character and it scrolls far
                // enough to show its longest line whole
       [this](auto& rest, auto& out) {
         const auto* list = qobject_cast<QListView*>(Named(rest));
         QApplication::processEvents();  // the view lays out its rows when the loop turns
         const QFontMetrics metrics(list->font());
         bool fixed = true;
         for (const QChar c : QStringLiteral(" 0.*Ji"))
           fixed = fixed && metrics.horizontalAdvance(c) == metrics.horizontalAdvance(u'M');
         int longest = 0;
         for (int r = 0; r < list->model()->rowCount(); ++r)
           longest = std::max(
               longest, metrics.horizontalAdvance(list->model()->index(r, 0).data().toString()));
         const bool reaches =
             list->horizontalScrollBar()->maximum() + list->viewport()->width() >= longest;
         out +=
             std::string(fixed ? "  fixed pitch" : "  proportional") +
             (reaches ? ", scrolls to the end of its longest line\n" : ", cuts its longest line\n");
       }},
      {"diagram",  // the Diagram tab: the join that the list's line ROW (from 1) highlights; then,
                   // grabbed, the colour drawn a third along each join; the tip and the list's
                   // line of a click there on the first join not acceptable
       [this](auto& rest, auto& out) {
         auto* tabs = qobject_cast<QTabWidget*>(Named("display.tabResults"));
         auto* view = qobject_cast<JoinDiagramView*>(Named("display.picDiagram"));
         auto* list = qobject_cast<QListView*>(Named("display.lstPSMJoins"));
         tabs->setCurrentIndex(1);
         QApplication::processEvents();
         const auto& d = view->Diagram();
         const auto name = [&](std::size_t j) {
           return d.Marks[d.Joins[j].From].Label + "-" + d.Marks[d.Joins[j].To].Label;
         };
         list->setCurrentIndex(list->model()->index(std::stoi(rest) - 1, 0));
         const auto lit = view->Highlighted();
         out += "  line " + rest + " highlights " + (lit ? name(*lit) : "nothing") + "\n";
         const QImage shot = view->grab().toImage();
         std::optional<QPoint> red;
         for (std::size_t j = 0; j < d.Joins.size(); ++j) {
           const QPointF at = view->View().Map(d.Marks[d.Joins[j].From].At) * (2.0 / 3) +
                              view->View().Map(d.Marks[d.Joins[j].To].At) / 3;
           // The strongest colour within two pixels: the lines are smoothed over their edges.
           int most[3] = {0, 0, 0};  // how far red, green and grey stand out from white
           for (int dx = -2; dx <= 2; ++dx) {
             for (int dy = -2; dy <= 2; ++dy) {
               const QColor c = shot.pixelColor(at.toPoint() + QPoint(dx, dy));
               const int grey = c.red() == c.green() && c.green() == c.blue() ? 255 - c.red() : 0;
               most[0] = std::max(most[0], c.red() - std::max(c.green(), c.blue()));
               most[1] = std::max(most[1], c.green() - std::max(c.red(), c.blue()));
               most[2] = std::max(most[2], grey);
             }
           }
           const bool isRed = most[0] > 100;
           const char* seen = isRed          ? "red"
                              : most[1] > 60 ? "green"
                              : most[2] > 60 ? "grey"
                                             : "other";
           out.append("  ").append(name(j)).append(" ").append(seen).append("\n");
           if (isRed && !red) red = at.toPoint();
         }
         if (red) {
           QMouseEvent hover(QEvent::MouseMove, QPointF(*red), view->mapToGlobal(QPointF(*red)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
           QApplication::sendEvent(view, &hover);
           out += "  tip: " + Replaced(QToolTip::text().toStdString(), "\n", " | ") + "\n";
           QTest::mouseClick(view, Qt::LeftButton, {}, *red);
           out += "  chosen line: " + list->currentIndex().data().toString().toStdString() + "\n";
         }
         tabs->setCurrentIndex(0);
       }},
      {"mode",
       [this](auto& rest, auto&) {
         m_window->SetCalculationMode(modKestralMGA::DistanceCalculationMode(std::stoi(rest)));
       }},
  };

  // The controls changed since the last call, each line indented.
  std::string Diff(const std::string& indent) {
    std::string seen;
    Entries now = Snapshot();
    std::map<std::string, std::string> old(m_before.begin(), m_before.end());
    for (const auto& [name, value] : now) {
      if (const auto was = old.extract(name); !was || was.mapped() != value)
        seen += indent + name + ": " + value + "\n";
    }
    for (const auto& gone : old) seen += indent + gone.first + " gone\n";
    m_before = std::move(now);
    return seen;
  }
  // The dialogs shown since the last call, each message with the controls changed when it showed,
  // and the controls changed since.
  std::string Changes() {
    std::string seen;
    for (; m_logged < m_dialogs.Log.size(); ++m_logged) {
      seen += "  " + m_dialogs.Log[m_logged] + "\n";
      if (m_dialogs.Log[m_logged].starts_with("message ")) seen += m_atMessage[m_messages++];
    }
    return m_window ? seen + Diff("  ") : seen;
  }

  // Runs the script and returns its transcript.
  std::string Run(const std::string& script) {
    std::istringstream in(script);
    std::string out, line;
    Entries fresh;
    while (std::getline(in, line)) {
      if (line.empty() || line[0] == '#') continue;
      if (line.starts_with("== ")) {
        EXPECT_TRUE(m_dialogs.AllAnswered()) << line;
        QFile::remove(UserCriteriaPath());
        out += "\n" + line + "\n";
        m_testers.clear();
        m_window.reset();
        m_dialogs = ScriptedDialogs();
        m_atMessage.clear();
        m_messages = m_logged = 0;
        continue;
      }
      out += "> " + line + "\n";
      line = Replaced(Replaced(line, "$T", m_folder.Path()), "$DATA", KESTRAL_TEST_DATA_DIR);
      for (std::size_t at; (at = line.find("\\x")) != std::string::npos;)  // a byte
        line.replace(at, 4, 1, char(std::stoi(line.substr(at + 2, 2), nullptr, 16)));
      for (std::size_t at; (at = line.find("\\*")) != std::string::npos;) {  // \*N:c, c N times
        const std::size_t colon = line.find(':', at);
        line.replace(at, colon + 2 - at, std::stoul(line.substr(at + 2)), line[colon + 1]);
      }
      if (line.starts_with("start")) {
        if (fresh.empty()) {  // the changes a start makes are those from a window started bare
          Start();
          fresh = Snapshot();
        }
        m_before = fresh;
      }
      Step(line, out);
      out += Changes();
    }
    EXPECT_TRUE(m_dialogs.AllAnswered());
    QFile::remove(UserCriteriaPath());
    const std::string upper =  // as the program shows a path: upper case
        QFile::encodeName(QFile::decodeName(m_folder.Path().c_str()).toUpper()).toStdString();
    out = Replaced(out, QCoreApplication::applicationDirPath().toStdString(), "$PROGRAM");
    out = Replaced(out, KESTRAL_TEST_DATA_DIR, "$DATA");
    out = Replaced(out, QFileInfo(UserCriteriaPath()).path().toStdString(), "$CONFIG");
    return Replaced(Replaced(out, upper, "$T"), m_folder.Path(), "$T");
  }

  ScriptedDialogs m_dialogs;
  modKestralMGA::testsupport::TempFolder m_folder;
  std::unique_ptr<frmKestralMGA> m_window;
  std::vector<std::unique_ptr<QAbstractItemModelTester>> m_testers;
  Entries m_before;
  std::size_t m_messages = 0, m_logged = 0;
  Lines m_atMessage;
  std::map<std::string, std::string> m_kinds;
};

TEST_P(ScenarioTest, TranscriptMatches) {
  const std::string base = std::string(KESTRAL_TEST_DATA_DIR) + "/gui/" + GetParam();
  const std::string transcript = Run(ReadBytes(base + ".scn"));
  EXPECT_EQ(transcript,
            modKestralMGA::testsupport::Golden(base + ".out", transcript));  // shown as a diff
}

INSTANTIATE_TEST_SUITE_P(Windows, ScenarioTest,
                         ::testing::Values("main", "joins", "import", "compare", "layout", "shell",
                                           "criteria"));

}  // namespace
