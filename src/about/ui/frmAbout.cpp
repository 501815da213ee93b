#include "about/ui/frmAbout.h"

#include "about/AboutTexts.h"
#include "i18n/Language.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tramble {
namespace {

constexpr const char* kHomePage = "https://github.com/tramble/tramble";
constexpr const char* kTranslateAddress =
    "https://github.com/tramble/tramble/issues/new?title=Translation%20of%20Tramble";
constexpr const char* kWeatherAddress = "https://open-meteo.com/";

QString Qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QLabel* NewLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QString Link(const char* address, const QString& text, const char* colour)
{
    return QStringLiteral("<a href=\"%1\" style=\"color:%2\">%3</a>")
        .arg(QLatin1String(address), QLatin1String(colour), text.toHtmlEscaped());
}

} // namespace

QString LibraryLicences()
{
    return QStringLiteral("Qt %1 (LGPLv3)\n"
                          "libpng (libpng licence)\n"
                          "zlib (zlib licence)\n"
                          "libcurl (curl licence, MIT style)\n"
                          "libxml2 (MIT)\n"
                          "cpp-httplib (MIT)\n"
                          "nlohmann-json (MIT)\n"
                          "SQLite (public domain)\n"
                          "libsystemd (LGPL-2.1)")
        .arg(QLatin1String(qVersion()));
}

TfrmAbout::TfrmAbout(const TAboutFigures& figures, const TLanguage& language, const QFont& font)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      m_language(language), m_figures(figures)
{
    setObjectName(QStringLiteral("frmAbout"));
    setFont(font);
    setWindowTitle(Qs(language.Text("main", "About")));

    lbAppName = NewLabel("lbAppName", this);
    QFont big = font;
    big.setPointSize(font.pointSize() * 2);
    big.setBold(true);
    lbAppName->setFont(big);
    lbAppName->setText(Qs(language.Text("About", "KuvName")));
    lbVersion = NewLabel("lbVersion", this);
    lbVersion->setText(QStringLiteral("ver " TRAMBLE_VERSION));

    lbAppCnt = NewLabel("lbAppCnt", this);
    lbRunCnt = NewLabel("lbRunCnt", this);
    lbRunTime = NewLabel("lbRunTime", this);
    lbThisTime = NewLabel("lbThisTime", this);
    lbAppCnt->setText(Qs(CountText(language, "AppCount", figures.AppCount)));
    lbRunCnt->setText(Qs(CountText(language, "RunCount", figures.RunCount)));

    lbTranslator = NewLabel("lbTranslator", this);
    lbTranslator->setText(Qs(language.Text("About", "Translator") + "  " + language.Text("About", "Translatorname")));
    lbLanguage = NewLabel("lbLanguage", this);
    lbLanguage->setText(Qs(language.Text("About", "Language") + "  " + language.Text("About", "LanguageName")));
    lbSpecialThanks = NewLabel("lbSpecialThanks", this);
    lbSpecialThanks->setText(Qs(language.Text("About", "SpecialThanks")) +
                             QStringLiteral(" everyone who tested and translated it"));

    lbReadonlyMode = NewLabel("lbReadonlyMode", this);
    lbReadonlyMode->setText(Qs(language.Text("msg", "Readonly")));
    lbReadonlyMode->setVisible(figures.ReadOnlyMode);
    lbPortMode = NewLabel("lbPortMode", this);
    lbPortMode->setText(Qs(language.Text("msg", "Portable")));
    lbPortMode->setVisible(figures.PortableMode);

    lbWeatherCredit = NewLabel("lbWeatherCredit", this);
    lbWeatherCredit->setText(Link(kWeatherAddress, Qs(language.Text("Weather", "Provider")), "blue"));
    lbLibraries = NewLabel("lbLibraries", this);
    lbLibraries->setText(Qs(language.Text("About", "Libraries")) + QLatin1Char('\n') + LibraryLicences());

    lbHomepage = NewLabel("lbHomepage", this);
    lbHomepage->setText(Link(kHomePage, QStringLiteral("Tramble home page"), "blue"));
    lbHelpToTranslate = NewLabel("lbHelpToTranslate", this);
    lbHelpToTranslate->setText(Link(kTranslateAddress, QStringLiteral("help to translate"), "green"));
    for (QLabel* link : {lbWeatherCredit, lbHomepage, lbHelpToTranslate}) {
        link->setOpenExternalLinks(true);
        link->setCursor(Qt::PointingHandCursor);
    }

    btnOk = new QPushButton(Qs(language.Text("main", "Ok")), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    for (QWidget* w : std::initializer_list<QWidget*>{
             lbAppName, lbVersion, lbAppCnt, lbRunCnt, lbRunTime, lbThisTime, lbLanguage, lbTranslator, lbSpecialThanks,
             lbReadonlyMode, lbPortMode, lbWeatherCredit, lbLibraries, lbHomepage, lbHelpToTranslate})
        layout->addWidget(w);
    layout->addStretch();
    layout->addWidget(btnOk, 0, Qt::AlignHCenter);
    setMinimumSize(351, 318);
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    // The durations are taken once, when the window appears.
    lbRunTime->setText(Qs(DurationText(m_language, "SumTime", m_figures.TotalSeconds)));
    lbThisTime->setText(Qs(DurationText(m_language, "ThisTime", m_figures.ThisRunSeconds)));
    QDialog::showEvent(event);
}

} // namespace tramble
