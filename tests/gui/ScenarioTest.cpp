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
//   toolbar KEY / show FILE / settings / mode MODE / controls (all of them as they are) / close
//   date TEXT (of the reports) / help BOOK (shows the help window on it)
//   during STEP ; STEP ...               steps run in the first event loop turn of the next one
// A control of another window is named window.control (display, joins, import, help); the
// program's folder shows as $PROGRAM.

#include "CompareFixtures.h"
#include "GuiTestSupport.h"
#include "app/CommandLine.h"
#include "app/modHtmlHelp.h"
#include "marks/ui/MarkTableModel.h"
#include "marks/ui/frmImportText.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

using modKestralMGA::testsupport::Replaced;
using modKestralMGA::testsupport::Split;

class ScenarioTest : public MainWindowTest, public ::testing::WithParamInterface<const char*> {
 protected:
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

  // What the user reads of every named control and window, in creation order: captions, texts,
  // items, headers, shortcuts, keys, ticks, rows; disabled, hidden, the focus. m_kinds keeps each
  // control's class and parent.
  Entries Snapshot() {
    Entries out;
    std::set<const QObject*> seen;
    int helpWindows = 0;
    for (const QWidget* w : QApplication::topLevelWidgets())
      helpWindows += w->objectName() == "frmHelp";
    out.emplace_back("help windows", std::to_string(helpWindows));
    out.emplace_back("current cell", "@" + std::to_string(m_window->CurrentGridRow()) + "," +
                                         std::to_string(m_window->CurrentColumn()));
    for (const auto& [window, prefix] : Windows()) {
      QString state = window->windowTitle() + (window->isVisible() ? " | shown" : " | hidden");
      if (!window->isEnabled()) state += " disabled";
      if (window->cursor().shape() == Qt::WaitCursor) state += " busy";
      if (QApplication::activeModalWidget() == window) state += " modal";
      out.emplace_back(window->objectName().toStdString(), state.toStdString());
      m_kinds[out.back().first] =
          window->parent() ? window->parent()->objectName().toStdString() : "";
      for (const QObject* o : window->findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith(u"qt_") || PrefixOf(o) != prefix ||
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

  void Step(const std::string& step, std::string& out) {
    const std::size_t blank = step.find(' ');
    const std::string verb = step.substr(0, blank);
    const std::string rest = blank == std::string::npos ? "" : step.substr(blank + 1);
    std::istringstream words(rest);
    int row = 0, column = 0;
    if (verb == "file" || verb == "marks") {
      Lines parts = Split(rest, " | "), lines;
      for (std::size_t i = 1; i < parts.size(); ++i) {
        std::istringstream f(parts[i]);
        Lines v(6);
        for (std::string& field : v) f >> field, field = field == "-" ? "" : field;
        lines.push_back(verb == "file" ? parts[i]
                                       : MarkTestLine(v[0], v[1], v[2], v[3], v[4], v[5]));
      }
      WriteFile(parts[0], lines);
    } else if (verb == "rows") {
      m_window->MarkModel().Load([&](modKestralMGA::MarkList& list) {
        list.Clear();
        for (const std::string& text : Split(rest, " | ")) {
          modKestralMGA::MarkRow markRow;
          std::istringstream fields(text);
          for (std::string& cell : markRow) std::getline(fields, cell, ',');
          list.AppendRow(markRow);
        }
      });
    } else if (verb == "start") {
      Start(rest.empty() ? "" : DumpPathFromArguments({rest}));
      m_dialogs.OnMessage = [this] { m_atMessage.push_back(Diff("    ")); };
    } else if (verb == "answer" || verb == "printer") {
      verb == "answer" ? m_dialogs.Answer(rest) : m_dialogs.AnswerPrinter(rest);
    } else if (verb == "click") {
      QTest::mouseClick(qobject_cast<QAbstractButton*>(Named(rest)), Qt::LeftButton);
    } else if (verb == "trigger") {
      qobject_cast<QAction*>(Named(rest))->trigger();
    } else if (verb == "set") {
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
    } else if (verb == "cell" || verb == "dclick") {
      words >> row >> column;
      ClickCell(row, column, verb == "dclick");
    } else if (verb == "setcell") {
      std::string text;
      words >> row >> column >> text;
      m_window->MarkModel().SetCell(std::size_t(row - 1), column, text);
    } else if (verb == "type" || verb == "enter") {
      Type(QString::fromStdString(rest));
      if (verb == "enter") Press(Qt::Key_Return);
    } else if (verb == "key") {  // to the focus, or to the control named after the key
      std::string key, target;
      words >> key >> target;
      QTest::keyClick(
          target.empty() ? m_window->focusWidget() : qobject_cast<QWidget*>(Named(target)),
          QKeySequence(QString::fromStdString(key))[0].key());
    } else if (verb == "pick") {
      auto* list = qobject_cast<QListView*>(Named("joins.lstMarks"));
      while (words >> row) {
        const QModelIndex entry = list->model()->index(row - 1, 0);
        list->scrollTo(entry);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
      }
    } else if (verb == "toolbar") {  // a toolbar button whose key is rest
      QAction button(QStringLiteral("button"));
      button.setData(QString::fromStdString(rest));
      m_window->Toolbar1_ButtonClick(&button);
    } else if (verb == "show") {
      out += Replaced(ReadBytes(m_folder / rest), "\r\n", "<CR LF>\n");
    } else if (verb == "preview") {  // where the next preview draws its pages
      m_dialogs.PreviewPdf = m_folder / rest;
    } else if (verb == "pdf") {  // the lines of a printed file, page by page
      using namespace modKestralMGA::testsupport;
      for (const Lines& page : PdfPageLines(ReadPdfWords(KESTRAL_PDFTOTEXT, m_folder / rest))) {
        out += "  -- page\n";
        for (const std::string& line : page) out += "  | " + line + "\n";
      }
    } else if (verb == "controls") {  // every control, with its class and parent
      for (const auto& [name, value] : Snapshot()) {
        const auto kind = m_kinds.find(name);
        out += name + (kind == m_kinds.end() ? "" : " | " + kind->second) + " | " + value + "\n";
      }
    } else if (verb == "during") {  // steps ("; " between) run in the next command's first turn
      m_window->PendingTurns().SetInterval(std::chrono::milliseconds(0));
      QTimer::singleShot(0, m_window.get(), [this, rest, &out] {
        for (const std::string& inner : Split(rest, " ; ")) {
          out += "  during the first turn > " + inner + "\n";
          Step(inner, out);
          out += Changes();
        }
      });
    } else if (verb == "date") {  // the date the results window's reports carry
      Results().SetReportDate([rest] { return rest; });
    } else if (verb == "close") {  // a window (display, joins, import, help), else the main one
      for (const auto& [window, prefix] : Windows())
        if (prefix == rest + "." || prefix.empty() == rest.empty()) window->close();
    } else if (verb == "help") {
      modHtmlHelp::ShowHelp(*m_window, QFile::decodeName(rest.c_str()));
    } else if (verb == "settings") {
      const frmKestralMGA& s = *m_window;
      out += s.MaxOrderText() + " | " + s.AverageHeightText() + " | " + s.PlanIdentifier() + " | " +
             s.AccuracyCriterionText() + " | " + s.Datum1Text() + " | " + s.Datum2Text() + " | " +
             (s.TwoPsms() ? "2 PSMs" : "-") + " | " + (s.FullDetails() ? "full" : "-") +
             " | mode " + std::to_string(int(s.CalculationMode())) + " | results list " +
             std::to_string(Results().PrintList()) + ", full joins " +
             std::to_string(Results().FullJoins()) + ", to file " +
             std::to_string(Results().ToFile()) + "\n";
    } else if (verb == "mode") {
      m_window->SetCalculationMode(modKestralMGA::DistanceCalculationMode(std::stoi(rest)));
    } else {
      ADD_FAILURE() << "unknown step " << step;
    }
  }

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
        out += "\n" + line + "\n";
        m_testers.clear();
        m_window.reset();
        m_dialogs = ScriptedDialogs();
        m_atMessage.clear();
        m_messages = m_logged = 0;
        continue;
      }
      out += "> " + line + "\n";
      line = Replaced(line, "$T", m_folder.Path());
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
    const std::string upper =  // as the program shows a path: upper case
        QFile::encodeName(QFile::decodeName(m_folder.Path().c_str()).toUpper()).toStdString();
    out = Replaced(out, QCoreApplication::applicationDirPath().toStdString(), "$PROGRAM");
    return Replaced(Replaced(out, upper, "$T"), m_folder.Path(), "$T");
  }

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
                         ::testing::Values("main", "joins", "import", "compare"));

}  // namespace
