#include "FinestraProva.h"

#include "CartellaTemporanea.h"
#include "Stato.h"
#include "archive/Archivio.h"
#include "archive/CreaArchivi.h"
#include "archive/StatoArchivio.h"
#include "archive/TabSottostanti.h"
#include "platform/Caratteri.h"
#include "shell/Uscita.h"
#include "shell/ui/AreaGrafici.h"
#include "shell/ui/FinestraOperativa.h"
#include "shell/ui/FormS1.h"
#include "shell/ui/PannelloAvvio.h"
#include "shell/ui/PannelloQuotazioni.h"
#include "shell/ui/RiquadroGrafico.h"
#include "shell/ui/SessioneFinestra.h"
#include "simulatore/GeneratoreStorico.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTableView>
#include <QTextBlock>
#include <QTextLayout>
#include <QThread>
#include <QWheelEvent>
#include <QtMath>
#include <QtTest>
#include <cstdio>
#include <cstdlib>

QPoint PuntoCasella(const QAbstractButton *casella)
{
    QStyleOptionButton opzione;
    opzione.initFrom(casella);
    const bool opzioneRadio = qobject_cast<const QRadioButton *>(casella) != nullptr;
    return casella->style()
        ->subElementRect(opzioneRadio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opzione, casella)
        .center();
}

void Rotella(QWidget *w, int delta)
{
    const QPointF dentro = QRectF(w->rect()).center();
    QWheelEvent e(dentro, w->mapToGlobal(dentro), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

void MuoviMouse(QWidget *w, QPoint p)
{
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QString TestoRettangolo(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

void SalvaImmagine(QWidget *w, const QString &nome)
{
    if (qEnvironmentVariableIsSet("WAVELORE_IMMAGINI_PROVA"))
        w->grab().save(qEnvironmentVariable("WAVELORE_IMMAGINI_PROVA") + QLatin1Char('/') + nome);
}

bool GeneraStoricoLocale(int sottostante)
{
    StatoArchivio a;
    archivio::Inizializza_Tab_Sottostanti(a);
    generatore::Parametri p;
    p.sottostante = a.Tab_Sottostanti[size_t(sottostante)];
    p.seme = quint64(sottostante);
    return generatore::ScriviFileLocali(generatore::Genera(p), sottostante).ok;
}

namespace {
// The depth of event loops Attendi_Uscita runs at; -1 when no exit is awaited.
int livelloAttesa = -1;
}  // namespace

void Termina_Prova(int codice)
{
    const int livello = QThread::currentThread()->loopLevel();
    if (livelloAttesa >= 0 && livello == livelloAttesa)
        throw FineProgramma{codice};
    const char *perche = livelloAttesa < 0
                             ? "outside Attendi_Uscita"
                             : "inside an event loop Attendi_Uscita cannot unwind (watch it from a child process)";
    std::printf("FAIL!  : %s(%s) The program's exit was reached %s: the test program stops here.\n",
                QTest::currentTestFunction() ? QTest::currentTestFunction() : "?",
                QTest::currentDataTag() ? QTest::currentDataTag() : "", perche);
    finestra::Termina_Processo(EXIT_FAILURE);
}

int Attendi_Uscita(const std::function<void()> &azione)
{
    const QScopedValueRollback<int> attesa(livelloAttesa, QThread::currentThread()->loopLevel());
    try {
        azione();
    } catch (const FineProgramma &fine) {
        return fine.codice;
    }
    return -1;
}

bool DialoghiProva::Domanda_RT(const QString &titolo, const QString &testo)
{
    domande_RT << titolo;
    testo_RT = testo;
    return risposta_RT;
}

DialoghiProva &Registra_Dialoghi(FinestraOperativa &finestra)
{
    auto *d = new DialoghiProva;
    finestra.Imposta_Dialoghi(std::unique_ptr<DialoghiFinestra>(d));
    return *d;
}

FinestraProva::FinestraProva()
{
    Prepara();
}

FinestraProva::FinestraProva(const QList<int> &storici) : cartella(std::make_unique<CartellaTemporanea>())
{
    preparata = archivio::Crea_Archivi().ok;
    for (int u : storici)
        preparata = GeneraStoricoLocale(u) && preparata;
    if (!storici.isEmpty())
        preparata = archivio::Connessione(archivio::FileArchivio::Sistema3)
                        .Aggiorna(QStringLiteral("TABAVV"), QStringLiteral("C1"), 1, QString::number(storici.first())) &&
                    preparata;
    Prepara();
}

FinestraProva::~FinestraProva()
{
    form.reset();  // before the folder it works in
}

void FinestraProva::Prepara()
{
    // As the program does before its first window; without its face every width checked is wrong.
    if (!schermo::Registra_Caratteri()) {
        QTest::qFail("the program's face could not be registered", __FILE__, __LINE__);
        preparata = false;
    }
    if (!MessaggiCatturati::Attivi())
        qputenv("WAVELORE_AVVISI_AUTOMATICI", "1");
    form = std::make_unique<FormS1>();
    op = finestra::Prepara_Finestra_Operativa(*form);
    sessione = finestra::Prepara_Sessione_Online(*form, *op);
    op->Sequenza().Fattore_Pause = 0;
    dialoghi = new DialoghiProva(fallimenti, avvisi);
    op->Imposta_Dialoghi(std::unique_ptr<DialoghiFinestra>(dialoghi));
    form->Imposta_Uscita(std::make_unique<UscitaProva>(*form));
}

bool FinestraProva::Carica()
{
    if (!preparata || !form->Form_Load())
        return false;
    QObject::connect(form->Frm_Avvio->PB_Avvio_T, &QProgressBar::valueChanged, form.get(),
                     [this](int v) { percentuali << v; });
    form->show();
    return true;
}

bool FinestraProva::AvviaOffline()
{
    if (!Carica())
        return false;
    QTest::mouseClick(form->Frm_Avvio->Cmd_OffLine, Qt::LeftButton);
    return fallimenti.isEmpty();
}

bool FinestraProva::Riavvia()
{
    form.reset();
    op = nullptr;
    sessione = nullptr;
    dialoghi = nullptr;
    fallimenti.clear();
    avvisi.clear();
    percentuali.clear();
    Prepara();
    return AvviaOffline();
}

Stato &FinestraProva::S() const
{
    return form->S();
}

AreaGrafici *FinestraProva::Area() const
{
    return op->Area();
}

RiquadroGrafico *FinestraProva::Riquadro(int slot) const
{
    return Area()->Frm_Graf[size_t(slot)];
}

bool FinestraProva::Ingrandisci(int slot)
{
    if (S().shell.Layout_Grafico == QLatin1String("GRANDE"))
        QTest::mouseClick(Riquadro(S().cicli.Grafico_Corrente)->Cmd_GRaf_M, Qt::LeftButton);
    QTest::mouseClick(Riquadro(slot)->Cmd_GRaf_P, Qt::LeftButton);
    return S().shell.Layout_Grafico == QLatin1String("GRANDE") && S().cicli.Grafico_Corrente == slot;
}

bool FinestraProva::Riduci()
{
    QTest::mouseClick(Riquadro(S().cicli.Grafico_Corrente)->Cmd_GRaf_M, Qt::LeftButton);
    return S().shell.Layout_Grafico == QLatin1String("RIDOTTO");
}

bool FinestraProva::Aspetto(int aspetto)
{
    if (S().archivio.Aspetto != aspetto)
        QTest::mouseClick(op->Quotazioni()->Cmd_Aspetto[1], Qt::LeftButton);
    return S().archivio.Aspetto == aspetto;
}

namespace {
int catturatori = 0;
}

MessaggiCatturati::MessaggiCatturati() : MessaggiCatturati(QMessageBox::No) {}

MessaggiCatturati::MessaggiCatturati(int risposta_)
    : risposta(risposta_), m_automatici(qgetenv("WAVELORE_AVVISI_AUTOMATICI")),
      m_impostato(qEnvironmentVariableIsSet("WAVELORE_AVVISI_AUTOMATICI"))
{
    ++catturatori;
    qunsetenv("WAVELORE_AVVISI_AUTOMATICI");
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            testi << box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|') +
                         (box->textFormat() == Qt::PlainText ? QStringLiteral("testo") : QStringLiteral("ricco"));
            box->done(risposta);
        }
    });
    m_timer.start(10);
}

MessaggiCatturati::~MessaggiCatturati()
{
    --catturatori;
    if (m_impostato)
        qputenv("WAVELORE_AVVISI_AUTOMATICI", m_automatici);
}

AvvisiTenuti::AvvisiTenuti()
    : m_automatici(qgetenv("WAVELORE_AVVISI_AUTOMATICI")), m_impostato(qEnvironmentVariableIsSet("WAVELORE_AVVISI_AUTOMATICI"))
{
    qunsetenv("WAVELORE_AVVISI_AUTOMATICI");
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            n += qobject_cast<QMessageBox *>(w) && w->isVisible();
        aperti = std::max(aperti, n);
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (m_dentro || !box || box->property("letto").toBool())
            return;
        box->setProperty("letto", true);
        testi << box->text();
        m_dentro = true;
        if (durante)
            durante();
        m_dentro = false;
        box->accept();
    });
    m_timer.start(10);
}

AvvisiTenuti::~AvvisiTenuti()
{
    if (m_impostato)
        qputenv("WAVELORE_AVVISI_AUTOMATICI", m_automatici);
}

bool MessaggiCatturati::Attivi()
{
    return catturatori > 0;
}

QStringList Controlli_Fuori_Vista(QWidget *finestra)
{
    const auto escluso = [](const QWidget *w) {
        return w->inherits("GraficoWidget") || qobject_cast<const QAbstractScrollArea *>(w);
    };
    QStringList fuori;
    for (QWidget *w : finestra->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow() || w->inherits("GraficoWidget"))
            continue;
        bool interno = false;
        for (QWidget *p = w->parentWidget(); p && p != finestra; p = p->parentWidget())
            interno = interno || escluso(p);
        if (interno)
            continue;
        // A scrolled view is read and clicked in its viewport.
        const auto *vista = qobject_cast<QAbstractScrollArea *>(w);
        const QWidget *letto = vista ? vista->viewport() : w;
        for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
            const QRect r(letto->mapTo(p, QPoint(0, 0)), letto->size());
            if (!p->rect().contains(r)) {
                fuori << QStringLiteral("%1 %2,%3 %4x%5 in %6 %7x%8")
                             .arg(w->objectName(), QString::number(r.x()), QString::number(r.y()),
                                  QString::number(r.width()), QString::number(r.height()),
                                  p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className())
                                                            : p->objectName(),
                                  QString::number(p->width()), QString::number(p->height()));
                break;
            }
            if (p == finestra)
                break;
        }
    }
    return fuori;
}

namespace {

QString descrivi(const QWidget *w, const QString &testo, int serve, int spazio)
{
    return QStringLiteral("%1 (%2) \"%3\": %4 px in %5")
        .arg(w->objectName(), QString::fromLatin1(w->metaObject()->className()), testo)
        .arg(serve)
        .arg(spazio);
}

// A date, time, price or count, or a reading made of them: its end is as much of
// its value as its start.
bool numerico(const QString &testo)
{
    static const QRegularExpression forma(QStringLiteral("^[\\s\\d.,:/+%-]*((AM|PM)[\\s\\d.,:/+%-]*)?$"));
    return forma.match(testo).hasMatch();
}

QString cella(const QTableView *g, const QModelIndex &i)
{
    const QString testo = i.data().toString();
    if (testo.isEmpty() || g->isRowHidden(i.row()) || g->isColumnHidden(i.column()))
        return {};
    const QRect r = g->visualRect(i);
    const QRect vista = g->viewport()->rect();
    if (r.width() <= 0 || r.height() <= 0)
        return {};  // a column or row of no size holds what is not shown
    // A grid that scrolls shows the rest when scrolled.
    const bool scorre = g->horizontalScrollBar()->isVisible() || g->verticalScrollBar()->isVisible();
    if (!vista.contains(r) && !scorre)
        return QStringLiteral("%1 cell %2,%3 \"%4\" out of view (%5,%6 %7x%8 in %9x%10)")
            .arg(g->objectName())
            .arg(i.row())
            .arg(i.column())
            .arg(testo)
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .arg(vista.width())
            .arg(vista.height());
    const double serve = LarghezzaTesto(FontCella(g, i), testo);
    const int spazio = SpazioCella(g, i);
    if (serve <= spazio)
        return {};
    if (numerico(testo) || g->textElideMode() == Qt::ElideLeft || g->textElideMode() == Qt::ElideMiddle)
        return descrivi(g, testo, qCeil(serve), spazio) + QStringLiteral(" cell %1,%2").arg(i.row()).arg(i.column());
    return {};
}

}  // namespace

QFont FontCella(const QTableView *g, const QModelIndex &i)
{
    if (const QVariant f = i.data(Qt::FontRole); f.isValid())
        return f.value<QFont>();
    return g->font();
}

double LarghezzaTesto(const QFont &font, const QString &testo)
{
    return QFontMetricsF(font).horizontalAdvance(testo);
}

int SpazioCella(const QTableView *g, const QModelIndex &i)
{
    const int margine = g->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, g) + 1;
    return g->visualRect(i).width() - 2 * margine;
}

QString TestoNonIntero(QWidget *w)
{
    const QFontMetrics fm(w->font());
    if (auto *l = qobject_cast<QLabel *>(w)) {
        if (l->text().isEmpty() || l->textFormat() == Qt::RichText || l->wordWrap())
            return {};
        const int serve = fm.horizontalAdvance(l->text());
        const int spazio = l->contentsRect().width() - 2 * l->margin() - std::max(0, l->indent());
        const bool alto = fm.height() <= l->contentsRect().height();
        return serve <= spazio && alto ? QString() : descrivi(w, l->text(), serve, spazio);
    }
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        if (e->text().isEmpty() || e->echoMode() != QLineEdit::Normal)
            return {};
        QStyleOptionFrame o;
        o.initFrom(e);
        o.lineWidth = e->hasFrame() ? e->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &o, e) : 0;
        const QMargins m = e->textMargins();
        // QLineEdit keeps two pixels clear each side of its text.
        const int spazio = e->style()->subElementRect(QStyle::SE_LineEditContents, &o, e).width() - m.left() -
                           m.right() - 4;
        const int serve = fm.horizontalAdvance(e->text());
        if (serve <= spazio || (e->cursorPosition() == 0 && !numerico(e->text())))
            return {};
        return descrivi(w, e->text(), serve, spazio) +
               (e->cursorPosition() == 0 ? QStringLiteral(", its end hidden") : QStringLiteral(", its start hidden"));
    }
    if (auto *t = qobject_cast<QPlainTextEdit *>(w)) {
        // Each line as the box lays it out, wrapped or not, within its viewport.
        const int spazio = t->viewport()->width() - 2 * qCeil(t->document()->documentMargin());
        for (QTextBlock b = t->document()->begin(); b.isValid(); b = b.next()) {
            const QTextLayout *l = b.layout();
            const int righe = l ? l->lineCount() : 0;
            for (int i = 0; i < righe; ++i) {
                const int serve = qCeil(l->lineAt(i).naturalTextWidth());
                if (serve > spazio)
                    return descrivi(w, b.text(), serve, spazio);
            }
            if (righe == 0 && t->lineWrapMode() == QPlainTextEdit::NoWrap && fm.horizontalAdvance(b.text()) > spazio)
                return descrivi(w, b.text(), fm.horizontalAdvance(b.text()), spazio);
        }
        return {};
    }
    if (auto *c = qobject_cast<QComboBox *>(w)) {
        if (c->currentText().isEmpty())
            return {};
        QStyleOptionComboBox o;
        o.initFrom(c);
        o.editable = c->isEditable();
        o.frame = c->hasFrame();
        o.currentText = c->currentText();
        const int spazio =
            c->style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, c).width() -
            (c->isEditable() ? 4 : 0);
        const int serve = fm.horizontalAdvance(c->currentText());
        return serve <= spazio ? QString() : descrivi(w, c->currentText(), serve, spazio);
    }
    if (auto *b = qobject_cast<QAbstractButton *>(w)) {
        const QString testo = b->text();
        if (testo.isEmpty())
            return {};
        int spazio = 0;
        if (qobject_cast<QCheckBox *>(b) || qobject_cast<QRadioButton *>(b)) {
            QStyleOptionButton o;
            o.initFrom(b);
            o.text = testo;
            const auto elemento = qobject_cast<QCheckBox *>(b) ? QStyle::SE_CheckBoxContents
                                                                : QStyle::SE_RadioButtonContents;
            spazio = b->style()->subElementRect(elemento, &o, b).width();
        } else if (qobject_cast<QPushButton *>(b)) {
            QStyleOptionButton o;
            o.initFrom(b);
            o.text = testo;
            spazio = b->style()->subElementRect(QStyle::SE_PushButtonContents, &o, b).width();
        } else {
            // A text-only tool button: its frame and the style's margin each side.
            spazio = b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) / 2 - 2;
        }
        const int serve = fm.size(Qt::TextShowMnemonic, testo).width();
        return serve <= spazio ? QString() : descrivi(w, testo, serve, spazio);
    }
    if (auto *t = qobject_cast<QTabBar *>(w)) {
        QStringList fuori;
        for (int i = 0; i < t->count(); ++i) {
            const QRect r = t->tabRect(i);
            const int serve = fm.size(Qt::TextShowMnemonic, t->tabText(i)).width();
            if (!t->rect().contains(r) || serve > r.width())
                fuori << descrivi(w, t->tabText(i), serve, r.width());
        }
        return fuori.join(QStringLiteral("; "));
    }
    if (auto *g = qobject_cast<QTableView *>(w)) {
        QStringList fuori;
        const QAbstractItemModel *m = g->model();
        QSet<std::pair<int, int>> coperte;  // under a span started elsewhere
        for (int r = 0; m && r < m->rowCount(); ++r)
            for (int c = 0; c < m->columnCount(); ++c) {
                if (coperte.contains({r, c}))
                    continue;
                for (int rr = r; rr < r + g->rowSpan(r, c); ++rr)
                    for (int cc = c; cc < c + g->columnSpan(r, c); ++cc)
                        coperte.insert({rr, cc});
                if (const QString f = cella(g, m->index(r, c)); !f.isEmpty())
                    fuori << f;
            }
        return fuori.join(QStringLiteral("; "));
    }
    return {};
}

QStringList TestiNonInteri(QWidget *radice)
{
    QStringList fuori;
    QList<QWidget *> tutti = radice->findChildren<QWidget *>();
    tutti.prepend(radice);
    for (QWidget *w : tutti)
        if (w->isVisible())
            if (const QString f = TestoNonIntero(w); !f.isEmpty())
                fuori << f;
    return fuori;
}
