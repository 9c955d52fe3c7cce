#include "report/DefinitionReader.h"

#include "report/ReportError.h"
#include "report/SourceFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>

#include <cmath>
#include <functional>

namespace report {

namespace {

// How often (in elements) a long read tells its listener that it is still going.
constexpr qint64 ProgressStep = 4096;
// No coordinate or size may exceed ten metres; it keeps arithmetic on the numbers sane.
constexpr double MaxLength = 10000.0;
// Slack for comparing sums of millimetres written with decimals.
constexpr double Slack = 1e-6;

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A place in the file, taken at the start tag of an element.
struct Location {
    qint64 line = 0;
    qint64 column = 0;
};

// The attributes of one element: lookups that check names, presence and values, and report every fault
// at the element's place in the file.
class Attributes {
public:
    using Fail = std::function<void(const Location&, const QString&)>;

    Attributes(const QXmlStreamReader& xml, Location where, Fail fail)
        : m_element(xml.name().toString()), m_where(where), m_fail(std::move(fail)) {
        for (const QXmlStreamAttribute& a : xml.attributes())
            m_values.insert(a.qualifiedName().toString(), a.value().toString());
    }

    // Every attribute the element has must be one of these.
    void allowOnly(const QStringList& names) const {
        for (auto it = m_values.cbegin(); it != m_values.cend(); ++it)
            if (!names.contains(it.key()))
                fail(QStringLiteral("unknown attribute %1 on <%2>").arg(quoted(it.key()), m_element));
    }

    bool has(const QString& name) const { return m_values.contains(name); }

    QString text(const QString& name, const QString& fallback = {}) const { return m_values.value(name, fallback); }

    QString requiredText(const QString& name) const {
        if (!has(name))
            fail(QStringLiteral("<%1> lacks the attribute %2").arg(m_element, quoted(name)));
        const QString value = m_values.value(name).trimmed();
        if (value.isEmpty())
            fail(QStringLiteral("the attribute %1 of <%2> is empty").arg(quoted(name), m_element));
        return value;
    }

    double number(const QString& name, double fallback, double low, double high) const {
        if (!has(name))
            return fallback;
        return parseNumber(name, low, high);
    }

    double requiredNumber(const QString& name, double low, double high) const {
        requiredText(name);
        return parseNumber(name, low, high);
    }

    bool boolean(const QString& name, bool fallback) const {
        if (!has(name))
            return fallback;
        const QString v = m_values.value(name).trimmed().toLower();
        if (v == u"true" || v == u"yes" || v == u"1")
            return true;
        if (v == u"false" || v == u"no" || v == u"0")
            return false;
        fail(QStringLiteral("the attribute %1 of <%2> holds %3; write true or false")
                 .arg(quoted(name), m_element, quoted(m_values.value(name))));
        return fallback;
    }

    // A colour written #rgb, #rrggbb or #aarrggbb; "none" (or "transparent") gives no colour.
    std::optional<quint32> colour(const QString& name, std::optional<quint32> fallback) const {
        if (!has(name))
            return fallback;
        const QString v = m_values.value(name).trimmed().toLower();
        if (v == u"none" || v == u"transparent")
            return std::nullopt;
        if (v.startsWith(QLatin1Char('#'))) {
            const QString hex = v.mid(1);
            bool ok = false;
            const uint value = hex.toUInt(&ok, 16);
            if (ok && !hex.contains(QLatin1Char('+')) && !hex.contains(QLatin1Char('-'))) {
                if (hex.size() == 3) {
                    const uint r = (value >> 8) & 0xf, g = (value >> 4) & 0xf, b = value & 0xf;
                    return 0xff000000u | (r * 0x11u) << 16 | (g * 0x11u) << 8 | (b * 0x11u);
                }
                if (hex.size() == 6)
                    return 0xff000000u | value;
                if (hex.size() == 8)
                    return value;
            }
        }
        fail(QStringLiteral("the attribute %1 of <%2> holds %3, which is not a colour; write #rrggbb, "
                            "#aarrggbb or none")
                 .arg(quoted(name), m_element, quoted(m_values.value(name))));
        return fallback;
    }

    // One of the given words; returns its index.
    int choice(const QString& name, const QStringList& words, int fallback) const {
        if (!has(name))
            return fallback;
        const QString v = m_values.value(name).trimmed().toLower();
        const auto index = words.indexOf(v);
        if (index < 0)
            fail(QStringLiteral("the attribute %1 of <%2> holds %3; write one of: %4")
                     .arg(quoted(name), m_element, quoted(m_values.value(name)), words.join(QStringLiteral(", "))));
        return static_cast<int>(index);
    }

    [[noreturn]] void fail(const QString& what) const {
        m_fail(m_where, what);
        throw std::logic_error("the fail handler must throw");
    }

    const QString& element() const { return m_element; }
    const Location& where() const { return m_where; }

private:
    double parseNumber(const QString& name, double low, double high) const {
        bool ok = false;
        const QString raw = m_values.value(name);
        const double value = QLocale::c().toDouble(raw.trimmed(), &ok);
        if (!ok || !std::isfinite(value))
            fail(QStringLiteral("the attribute %1 of <%2> holds %3, which is not a number (write millimetres and "
                                "points with a decimal point, e.g. 12.5)")
                     .arg(quoted(name), m_element, quoted(raw)));
        if (value < low || value > high)
            fail(QStringLiteral("the attribute %1 of <%2> is %3; it must lie between %4 and %5")
                     .arg(quoted(name), m_element, raw.trimmed(), QString::number(low), QString::number(high)));
        return value;
    }

    QString m_element;
    Location m_where;
    Fail m_fail;
    QHash<QString, QString> m_values;
};

const QStringList TextStyleAttributes = {
    QStringLiteral("font"),      QStringLiteral("size"),  QStringLiteral("bold"),       QStringLiteral("italic"),
    QStringLiteral("underline"), QStringLiteral("color"), QStringLiteral("background"), QStringLiteral("align"),
    QStringLiteral("valign"),    QStringLiteral("wrap"),  QStringLiteral("elide"),      QStringLiteral("padding"),
    QStringLiteral("shrink-to")};

// Overlays the style attributes the element carries on style.
void applyTextStyle(const Attributes& a, TextStyle& style) {
    if (a.has(QStringLiteral("font"))) {
        style.fontFamily = a.text(QStringLiteral("font")).trimmed();
        if (style.fontFamily.isEmpty())
            a.fail(QStringLiteral("the attribute \"font\" of <%1> is empty").arg(a.element()));
    }
    style.pointSize = a.number(QStringLiteral("size"), style.pointSize, 1.0, 500.0);
    style.bold = a.boolean(QStringLiteral("bold"), style.bold);
    style.italic = a.boolean(QStringLiteral("italic"), style.italic);
    style.underline = a.boolean(QStringLiteral("underline"), style.underline);
    if (a.has(QStringLiteral("color"))) {
        const auto c = a.colour(QStringLiteral("color"), style.color);
        if (!c)
            a.fail(QStringLiteral("the text colour of <%1> cannot be none").arg(a.element()));
        style.color = *c;
    }
    style.background = a.colour(QStringLiteral("background"), style.background);
    style.align = static_cast<HorizontalAlign>(
        a.choice(QStringLiteral("align"), {QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")},
                 static_cast<int>(style.align)));
    style.valign = static_cast<VerticalAlign>(
        a.choice(QStringLiteral("valign"), {QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom")},
                 static_cast<int>(style.valign)));
    style.wrap = a.boolean(QStringLiteral("wrap"), style.wrap);
    style.elide = a.boolean(QStringLiteral("elide"), style.elide);
    style.padding = a.number(QStringLiteral("padding"), style.padding, 0.0, MaxLength);
    style.shrinkTo = a.number(QStringLiteral("shrink-to"), style.shrinkTo, 1.0, 500.0);
}

// The page header's and footer's heights of the report being read (0 when it has none), kept as the bands
// arrive so that checking each band costs the same however many bands came before it.
struct FrameBands {
    const ReportBand* header = nullptr;
    const ReportBand* footer = nullptr;
};

class Parser {
public:
    Parser(const QByteArray& bytes, QString label, QString baseDir, DefinitionReader::Progress progress)
        : m_xml(bytes), m_label(std::move(label)), m_baseDir(std::move(baseDir)), m_progress(std::move(progress)) {}

    ProjectDefinition parse() {
        m_project.filePath = m_label;
        while (!m_xml.atEnd()) {
            const auto token = readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (m_xml.name() != u"project")
                    failHere(QStringLiteral("the root element must be <project>, not <%1>").arg(m_xml.name()));
                parseProject();
            } else if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace()) {
                failHere(QStringLiteral("text outside the <project> element"));
            }
        }
        checkSyntax();
        if (!m_sawProject)
            fail({m_xml.lineNumber(), m_xml.columnNumber()}, QStringLiteral("the file holds no <project> element"));
        return std::move(m_project);
    }

private:
    [[noreturn]] void fail(const Location& where, const QString& what) const {
        // The XML reader's own messages end in a full stop already.
        QString text = what;
        while (text.endsWith(QLatin1Char('.')))
            text.chop(1);
        throw ReportError(QCoreApplication::translate("report", "Cannot read the report definition %1: line %2, column %3: %4.")
                              .arg(quoted(m_label))
                              .arg(where.line)
                              .arg(where.column)
                              .arg(text));
    }

    [[noreturn]] void failHere(const QString& what) const { fail(here(), what); }

    Location here() const { return {m_xml.lineNumber(), m_xml.columnNumber()}; }

    Attributes attributes() const {
        return Attributes(m_xml, here(), [this](const Location& where, const QString& what) { fail(where, what); });
    }

    void checkSyntax() const {
        if (m_xml.hasError())
            failHere(m_xml.errorString());
    }

    // The next token, counting the elements: a file with more of them than the engine takes is refused at
    // the first one too many, before it can fill the memory.
    QXmlStreamReader::TokenType readNext() {
        const auto token = m_xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (++m_elements > DefinitionReader::MaxElements)
                failHere(QStringLiteral("the file holds more than %1 elements, more than a report definition may "
                                        "hold")
                             .arg(DefinitionReader::MaxElements));
            if (m_progress && m_elements % ProgressStep == 0)
                m_progress(m_elements);
        }
        return token;
    }

    // Reads the children of the element just opened, handing each child element to onElement, until the
    // element closes. Text other than white space is a fault here.
    void readChildren(const std::function<void()>& onElement) {
        const QString parent = m_xml.name().toString();
        while (!m_xml.atEnd()) {
            const Location before = here();
            const auto token = readNext();
            if (token == QXmlStreamReader::EndElement)
                return;
            if (token == QXmlStreamReader::StartElement)
                onElement();
            else if (token == QXmlStreamReader::Characters && !m_xml.isWhitespace())
                fail(firstNonBlank(before, m_xml.text()), QStringLiteral("unexpected text inside <%1>").arg(parent));
        }
        checkSyntax();
    }

    // Where the first character of text that is not white space stands, the text starting just after
    // `start`.
    static Location firstNonBlank(Location start, QStringView text) {
        for (const QChar c : text) {
            if (!c.isSpace())
                break;
            if (c == QLatin1Char('\n')) {
                ++start.line;
                start.column = 0;
            } else {
                ++start.column;
            }
        }
        ++start.column;
        return start;
    }

    // Reads the text content of the element just opened (no child elements allowed).
    QString readText() {
        const QString text = m_xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        checkSyntax();
        return text;
    }

    void expectEmpty() {
        const QString element = m_xml.name().toString();
        const Location where = here();
        if (!readText().trimmed().isEmpty())
            fail(where, QStringLiteral("<%1> takes no text").arg(element));
    }

    [[noreturn]] void unknownElement(const QString& parent) const {
        failHere(QStringLiteral("unknown element <%1> inside <%2>").arg(m_xml.name(), parent));
    }

    void parseProject() {
        if (m_sawProject)
            failHere(QStringLiteral("the file holds a second <project>"));
        m_sawProject = true;
        const Attributes a = attributes();
        a.allowOnly({QStringLiteral("active"), QStringLiteral("version")});
        if (a.has(QStringLiteral("version")) && a.text(QStringLiteral("version")).trimmed() != u"1")
            a.fail(QStringLiteral("this engine reads version 1 of the format, not %1")
                       .arg(quoted(a.text(QStringLiteral("version")))));
        const QString active = a.text(QStringLiteral("active")).trimmed();

        readChildren([&] {
            const auto name = m_xml.name();
            if (name == u"connection") {
                const Attributes c = attributes();
                c.allowOnly({QStringLiteral("name")});
                const QString connection = c.requiredText(QStringLiteral("name"));
                if (m_connectionNames.contains(connection))
                    c.fail(QStringLiteral("the data connection %1 is declared twice").arg(quoted(connection)));
                m_connectionNames.insert(connection);
                m_project.connections.append(connection);
                expectEmpty();
            } else if (name == u"style") {
                parseStyle();
            } else if (name == u"report") {
                parseReport();
            } else {
                unknownElement(QStringLiteral("project"));
            }
        });

        if (m_project.reports.isEmpty())
            fail(a.where(), QStringLiteral("the project holds no <report>"));
        m_project.activeIndex = 0;
        if (!active.isEmpty()) {
            m_project.activeIndex = -1;
            for (int i = 0; i < m_project.reports.size(); ++i)
                if (m_project.reports[i].name == active)
                    m_project.activeIndex = i;
            if (m_project.activeIndex < 0)
                fail(a.where(), QStringLiteral("the project names %1 as its active report, but holds no report of "
                                               "that name")
                                    .arg(quoted(active)));
        }
        checkConnections();
    }

    void parseStyle() {
        const Attributes a = attributes();
        QStringList allowed = TextStyleAttributes;
        allowed.append(QStringLiteral("name"));
        a.allowOnly(allowed);
        const QString name = a.requiredText(QStringLiteral("name"));
        if (m_styles.contains(name))
            a.fail(QStringLiteral("the style %1 is declared twice").arg(quoted(name)));
        TextStyle style;
        applyTextStyle(a, style);
        m_styles.insert(name, style);
        expectEmpty();
    }

    void parseReport() {
        const Attributes a = attributes();
        a.allowOnly({QStringLiteral("name")});
        ReportDefinition definition;
        definition.name = a.requiredText(QStringLiteral("name"));
        definition.sourceLine = static_cast<int>(a.where().line);
        definition.sourceColumn = static_cast<int>(a.where().column);
        if (m_reportNames.contains(definition.name))
            a.fail(QStringLiteral("the report %1 is declared twice").arg(quoted(definition.name)));
        m_reportNames.insert(definition.name);

        bool sawPage = false;
        // Indexes, not pointers: the list of bands grows while the report is read.
        qsizetype header = -1;
        qsizetype footer = -1;
        readChildren([&] {
            const auto name = m_xml.name();
            if (name == u"page") {
                if (sawPage)
                    failHere(QStringLiteral("the report %1 has a second <page>").arg(quoted(definition.name)));
                if (!definition.bands.isEmpty())
                    failHere(QStringLiteral("<page> must come before the bands"));
                sawPage = true;
                definition.page = parsePage();
            } else if (name == u"pageheader" || name == u"title" || name == u"detail" || name == u"pagefooter") {
                const FrameBands frame{header < 0 ? nullptr : &definition.bands.at(header),
                                       footer < 0 ? nullptr : &definition.bands.at(footer)};
                definition.bands.append(parseBand(definition, frame));
                if (definition.bands.last().kind == BandKind::PageHeader)
                    header = definition.bands.size() - 1;
                else if (definition.bands.last().kind == BandKind::PageFooter)
                    footer = definition.bands.size() - 1;
            } else {
                unknownElement(QStringLiteral("report"));
            }
        });
        m_project.reports.append(std::move(definition));
    }

    PageSetup parsePage() {
        const Attributes a = attributes();
        a.allowOnly({QStringLiteral("size"), QStringLiteral("width"), QStringLiteral("height"),
                     QStringLiteral("orientation"), QStringLiteral("margin"), QStringLiteral("margin-left"),
                     QStringLiteral("margin-top"), QStringLiteral("margin-right"), QStringLiteral("margin-bottom")});
        PageSetup page;
        const int size = a.choice(QStringLiteral("size"),
                                  {QStringLiteral("a4"), QStringLiteral("letter"), QStringLiteral("custom")}, 0);
        if (size == 0) {
            page.sizeName = QStringLiteral("A4");
            page.width = 210.0;
            page.height = 297.0;
        } else if (size == 1) {
            page.sizeName = QStringLiteral("Letter");
            page.width = 215.9;
            page.height = 279.4;
        } else {
            page.sizeName = QStringLiteral("custom");
            page.width = a.requiredNumber(QStringLiteral("width"), 10.0, MaxLength);
            page.height = a.requiredNumber(QStringLiteral("height"), 10.0, MaxLength);
        }
        if (size != 2 && (a.has(QStringLiteral("width")) || a.has(QStringLiteral("height"))))
            a.fail(QStringLiteral("width and height are given only with size=\"custom\""));
        page.orientation = static_cast<PageOrientation>(
            a.choice(QStringLiteral("orientation"), {QStringLiteral("portrait"), QStringLiteral("landscape")}, 0));
        const double margin = a.number(QStringLiteral("margin"), 10.0, 0.0, MaxLength);
        page.marginLeft = a.number(QStringLiteral("margin-left"), margin, 0.0, MaxLength);
        page.marginTop = a.number(QStringLiteral("margin-top"), margin, 0.0, MaxLength);
        page.marginRight = a.number(QStringLiteral("margin-right"), margin, 0.0, MaxLength);
        page.marginBottom = a.number(QStringLiteral("margin-bottom"), margin, 0.0, MaxLength);
        if (page.printableWidth() <= 1.0 || page.printableHeight() <= 1.0)
            a.fail(QStringLiteral("the margins leave no room on a %1 x %2 mm page")
                       .arg(page.pageWidth())
                       .arg(page.pageHeight()));
        expectEmpty();
        return page;
    }

    ReportBand parseBand(const ReportDefinition& report, const FrameBands& frame) {
        const Attributes a = attributes();
        ReportBand band;
        const auto name = m_xml.name();
        band.kind = name == u"pageheader" ? BandKind::PageHeader
                    : name == u"title"    ? BandKind::Title
                    : name == u"detail"   ? BandKind::Detail
                                          : BandKind::PageFooter;
        band.sourceLine = static_cast<int>(a.where().line);
        band.sourceColumn = static_cast<int>(a.where().column);
        if (band.kind == BandKind::Detail) {
            a.allowOnly({QStringLiteral("height"), QStringLiteral("connection")});
            band.connection = a.requiredText(QStringLiteral("connection"));
        } else {
            a.allowOnly({QStringLiteral("height")});
        }
        if ((band.kind == BandKind::PageHeader && frame.header) || (band.kind == BandKind::PageFooter && frame.footer))
            a.fail(QStringLiteral("the report %1 has a second <%2>").arg(quoted(report.name), a.element()));
        band.height = a.requiredNumber(QStringLiteral("height"), 0.1, MaxLength);

        // The band must leave room on the page: page header and footer together, and each body band
        // below them, so that a fresh page always takes the next band and pagination ends.
        const ReportBand* header = frame.header;
        const ReportBand* footer = frame.footer;
        double room = report.page.printableHeight();
        if (band.kind == BandKind::PageHeader || band.kind == BandKind::PageFooter) {
            const ReportBand* other = band.kind == BandKind::PageHeader ? footer : header;
            room -= other ? other->height : 0.0;
            if (band.height >= room - Slack)
                a.fail(QStringLiteral("a %1 mm <%2> leaves no room for the body of a page %3 mm high inside its "
                                      "margins")
                           .arg(band.height)
                           .arg(a.element())
                           .arg(report.page.printableHeight()));
            for (const ReportBand& body : report.bands)
                if ((body.kind == BandKind::Title || body.kind == BandKind::Detail) &&
                    body.height > room - band.height + Slack)
                    a.fail(QStringLiteral("with this <%1> the %2 mm band at line %3 no longer fits on a page")
                               .arg(a.element())
                               .arg(body.height)
                               .arg(body.sourceLine));
        } else {
            const double body = room - (header ? header->height : 0.0) - (footer ? footer->height : 0.0);
            if (band.height > body + Slack)
                a.fail(QStringLiteral("the band is %1 mm high but a page has %2 mm for it").arg(band.height).arg(body));
        }

        const double width = report.page.pageWidth() - report.page.marginLeft;
        readChildren([&] { band.items.append(parseItem(band, width)); });
        return band;
    }

    ReportItem parseItem(const ReportBand& band, double bandWidth) {
        const Attributes a = attributes();
        ReportItem item;
        item.sourceLine = static_cast<int>(a.where().line);
        item.sourceColumn = static_cast<int>(a.where().column);
        const auto name = m_xml.name();
        const QStringList box = {QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("width"),
                                 QStringLiteral("height")};
        auto readBox = [&] {
            item.x = a.requiredNumber(QStringLiteral("x"), 0.0, MaxLength);
            item.y = a.requiredNumber(QStringLiteral("y"), 0.0, MaxLength);
            item.width = a.requiredNumber(QStringLiteral("width"), 0.01, MaxLength);
            item.height = a.requiredNumber(QStringLiteral("height"), 0.01, MaxLength);
        };
        auto readTextStyle = [&](const QStringList& own) {
            QStringList allowed = box + TextStyleAttributes + own;
            allowed.append(QStringLiteral("style"));
            a.allowOnly(allowed);
            readBox();
            if (a.has(QStringLiteral("style"))) {
                const QString styleName = a.text(QStringLiteral("style")).trimmed();
                const auto found = m_styles.constFind(styleName);
                if (found == m_styles.cend())
                    a.fail(QStringLiteral("unknown style %1 (declare a <style> before the reports that use it)")
                               .arg(quoted(styleName)));
                item.style = *found;
            }
            applyTextStyle(a, item.style);
        };

        if (name == u"text") {
            item.kind = ItemKind::Text;
            readTextStyle({});
            item.text = readText().trimmed();
        } else if (name == u"field") {
            item.kind = ItemKind::Field;
            readTextStyle({QStringLiteral("connection"), QStringLiteral("column"), QStringLiteral("format")});
            item.column = a.requiredText(QStringLiteral("column"));
            item.format = a.text(QStringLiteral("format"));
            if (a.has(QStringLiteral("connection")))
                item.connection = a.requiredText(QStringLiteral("connection"));
            else if (band.kind == BandKind::Detail)
                item.connection = band.connection;
            // Otherwise the project's only connection, settled once all connections are known.
            expectEmpty();
        } else if (name == u"pagenumber") {
            item.kind = ItemKind::PageNumber;
            readTextStyle({});
            item.text = readText().trimmed();
            if (item.text.isEmpty())
                item.text = QStringLiteral("{page} / {pages}");
        } else if (name == u"line") {
            item.kind = ItemKind::Line;
            a.allowOnly({QStringLiteral("x1"), QStringLiteral("y1"), QStringLiteral("x2"), QStringLiteral("y2"),
                         QStringLiteral("stroke"), QStringLiteral("color"), QStringLiteral("dash")});
            item.x = a.requiredNumber(QStringLiteral("x1"), 0.0, MaxLength);
            item.y = a.requiredNumber(QStringLiteral("y1"), 0.0, MaxLength);
            item.x2 = a.requiredNumber(QStringLiteral("x2"), 0.0, MaxLength);
            item.y2 = a.requiredNumber(QStringLiteral("y2"), 0.0, MaxLength);
            readStroke(a, item);
            item.lineStyle = static_cast<LineStyle>(a.choice(
                QStringLiteral("dash"), {QStringLiteral("solid"), QStringLiteral("dash"), QStringLiteral("dot")}, 0));
            expectEmpty();
        } else if (name == u"rect") {
            item.kind = ItemKind::Rectangle;
            a.allowOnly(box + QStringList{QStringLiteral("stroke"), QStringLiteral("color"), QStringLiteral("fill")});
            readBox();
            readStroke(a, item);
            item.fill = a.colour(QStringLiteral("fill"), std::nullopt);
            expectEmpty();
        } else if (name == u"image") {
            item.kind = ItemKind::Image;
            a.allowOnly(box + QStringList{QStringLiteral("src"), QStringLiteral("fit")});
            readBox();
            item.fit = static_cast<ImageFit>(
                a.choice(QStringLiteral("fit"), {QStringLiteral("keep-aspect"), QStringLiteral("stretch")}, 0));
            const QString content = readText();
            readImage(a, content, item);
        } else {
            unknownElement(bandElementName(band.kind));
        }

        if (item.right() > bandWidth + Slack)
            a.fail(QStringLiteral("the item reaches %1 mm to the right of the left margin, past the page's edge at "
                                  "%2 mm")
                       .arg(item.right())
                       .arg(bandWidth));
        if (item.bottom() > band.height + Slack)
            a.fail(QStringLiteral("the item reaches %1 mm down, below its %2 mm band")
                       .arg(item.bottom())
                       .arg(band.height));
        return item;
    }

    static QString bandElementName(BandKind kind) {
        switch (kind) {
        case BandKind::PageHeader:
            return QStringLiteral("pageheader");
        case BandKind::Title:
            return QStringLiteral("title");
        case BandKind::Detail:
            return QStringLiteral("detail");
        case BandKind::PageFooter:
            return QStringLiteral("pagefooter");
        }
        return {};
    }

    static void readStroke(const Attributes& a, ReportItem& item) {
        item.stroke = a.number(QStringLiteral("stroke"), item.stroke, 0.0, 50.0);
        const auto colour = a.colour(QStringLiteral("color"), item.strokeColor);
        if (!colour)
            item.stroke = 0.0;
        else
            item.strokeColor = *colour;
    }

    void readImage(const Attributes& a, const QString& content, ReportItem& item) {
        const bool linked = a.has(QStringLiteral("src"));
        QString base64 = content;
        base64.remove(QRegularExpression(QStringLiteral("\\s")));
        if (linked == !base64.isEmpty())
            a.fail(QStringLiteral("an <image> takes either a src attribute or base64 text, one of the two"));
        if (!linked) {
            const auto decoded =
                QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            // toLatin1() turns letters outside Latin-1 into '?', which must not pass as base64 either.
            if (!decoded || decoded.decoded.isEmpty() || QString::fromLatin1(base64.toLatin1()) != base64)
                a.fail(QStringLiteral("the text of the <image> is not base64"));
            // Items that embed the same picture share one copy of its bytes, so that it is decoded once.
            const auto known = m_embedded.constFind(decoded.decoded);
            item.imageData = known != m_embedded.cend() ? *known : decoded.decoded;
            if (known == m_embedded.cend())
                m_embedded.insert(item.imageData, item.imageData);
            return;
        }
        const QString src = a.requiredText(QStringLiteral("src"));
        const QString path = QDir(m_baseDir).filePath(src);
        item.imageFile = path;
        // Each picture file is read once, however many items (or names and links) show it.
        if (const auto version = versionOf(path)) {
            const auto known = m_pictures.constFind(version->identity);
            if (known != m_pictures.cend()) {
                item.imageData = *known;
                noteState(path, *version);
                return;
            }
        }
        const SourceFile picture = readSourceFile(path, DefinitionReader::MaxPictureBytes);
        const QString shown = quoted(QDir::toNativeSeparators(path));
        if (!picture.isRead())
            a.fail(QStringLiteral("the picture %1 %2").arg(shown, picture.fault(DefinitionReader::MaxPictureBytes)));
        if (picture.bytes.isEmpty())
            a.fail(QStringLiteral("the picture %1 is empty").arg(shown));
        m_pictureBytes += picture.bytes.size();
        if (m_pictureBytes > DefinitionReader::MaxAllPicturesBytes)
            a.fail(QStringLiteral("with the picture %1 the pictures of the definition come to more than the %2 MB "
                                  "they may take together")
                       .arg(shown)
                       .arg(DefinitionReader::MaxAllPicturesBytes >> 20));
        item.imageData = picture.bytes;
        m_pictures.insert(picture.version.identity, picture.bytes);
        m_project.sourceFiles.append(path);
        noteState(path, picture.version);
        m_project.changedWhileRead = m_project.changedWhileRead || picture.changedWhileRead;
    }

    // Notes the state of a picture path once, however many items name it.
    void noteState(const QString& path, const FileVersion& version) {
        if (!m_statedPaths.contains(path)) {
            m_statedPaths.insert(path);
            m_project.sourceStates.append({path, version});
        }
    }

    // Every connection named by a detail band or a field must be declared by the project. A field outside a
    // detail band that names none takes the project's only connection.
    void checkConnections() {
        for (ReportDefinition& definition : m_project.reports)
            for (ReportBand& band : definition.bands) {
                if (band.kind == BandKind::Detail && !m_project.connections.contains(band.connection))
                    fail({band.sourceLine, band.sourceColumn}, unknownConnection(band.connection));
                for (ReportItem& item : band.items) {
                    if (item.kind != ItemKind::Field)
                        continue;
                    if (item.connection.isEmpty()) {
                        if (m_project.connections.size() != 1)
                            fail({item.sourceLine, item.sourceColumn},
                                 QStringLiteral("the <field> must name its data connection, since the project "
                                                "declares %1")
                                     .arg(m_project.connections.isEmpty() ? QStringLiteral("none")
                                                                          : QStringLiteral("more than one")));
                        item.connection = m_project.connections.first();
                    }
                    if (!m_project.connections.contains(item.connection))
                        fail({item.sourceLine, item.sourceColumn}, unknownConnection(item.connection));
                }
            }
    }

    QString unknownConnection(const QString& name) const {
        return QStringLiteral("the data connection %1 is not declared by the project (declared: %2)")
            .arg(quoted(name), m_project.connections.isEmpty() ? QStringLiteral("none")
                                                               : m_project.connections.join(QStringLiteral(", ")));
    }

    QXmlStreamReader m_xml;
    QString m_label;
    QString m_baseDir;
    DefinitionReader::Progress m_progress;
    qint64 m_elements = 0;
    ProjectDefinition m_project;
    // Names already declared, for the duplicate checks.
    QSet<QString> m_reportNames;
    QSet<QString> m_connectionNames;
    // Picture bytes by the file they came from, and embedded pictures by their bytes (key and value share
    // one buffer); what the linked pictures have taken so far.
    QHash<FileIdentity, QByteArray> m_pictures;
    QHash<QByteArray, QByteArray> m_embedded;
    QSet<QString> m_statedPaths;
    qint64 m_pictureBytes = 0;
    // Named styles: the text attributes a <style> gives, over the defaults; an item that names one starts from
    // it and lays its own attributes over it.
    QHash<QString, TextStyle> m_styles;
    bool m_sawProject = false;
};

} // namespace

ProjectDefinition DefinitionReader::readFile(const QString& path, const Progress& progress) {
    return readFile(path, path, progress);
}

ProjectDefinition DefinitionReader::readFile(const QString& path, const QString& fileLabel, const Progress& progress) {
    const SourceFile file = readSourceFile(path, MaxDefinitionBytes);
    if (!file.isRead())
        throw ReportError(QCoreApplication::translate("report", "Cannot read the report definition %1: it %2.")
                              .arg(quoted(fileLabel), file.fault(MaxDefinitionBytes)));
    ProjectDefinition project = readBytes(file.bytes, fileLabel, QFileInfo(path).absolutePath(), progress);
    project.sourceFiles.prepend(path);
    project.sourceStates.prepend({path, file.version});
    project.changedWhileRead = project.changedWhileRead || file.changedWhileRead;
    return project;
}

ProjectDefinition DefinitionReader::readBytes(const QByteArray& xml, const QString& fileLabel, const QString& baseDir,
                                              const Progress& progress) {
    if (xml.size() > MaxDefinitionBytes)
        throw ReportError(QCoreApplication::translate("report", "Cannot read the report definition %1: it is larger than the %2 MB it may "
                                         "be.")
                              .arg(quoted(fileLabel))
                              .arg(MaxDefinitionBytes >> 20));
    return Parser(xml, fileLabel, baseDir, progress).parse();
}

} // namespace report
