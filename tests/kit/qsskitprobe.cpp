// A plain Qt program that stands for any program consuming a Qt kit: Fusion style, the
// kit's style sheet, and nothing of Quillet. It lays push buttons, check boxes and combo
// boxes in every state a kit styles and writes what Qt paints of each as a see-through
// PNG, so a test can hold it against the renderer's own pictures.
//
//   qsskitprobe --style-sheet FILE --out DIR [--resource FILE.rcc] [--search-path NAME=DIR]
//               [--widths 40,104] [--text CAPTION] [--overview FILE.png]
//
// States are put the way Qt itself puts them: the pointer's attribute for hover, a held
// button for pressed, the keyboard focus of the active window, a real mouse press on the
// combo box's arrow. Files: button-STATE-WIDTH.png, check-STATE.png (the indicator),
// combo-STATE.png (the whole box) and combo-STATE-drop.png (its drop-down), sizes in
// device pixels of the screen's ratio.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QHoverEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QResource>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTextStream>
#include <QWidget>

#include <cstdio>
#include <functional>

namespace {

struct Options
{
    QString styleSheet;
    QString out;
    QString resource;
    QStringList searchPaths;
    QList<int> widths { 40, 104 };
    QString overview;
    // Blank by default: the renderer's pictures to compare with are blank too.
    QString text = QStringLiteral(" ");
};

int refuse(const QString &message)
{
    std::fprintf(stderr, "qsskitprobe: %s\n", qPrintable(message));
    return 2;
}

QString parse(const QStringList &arguments, Options &options)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &name = arguments[i];
        if (i + 1 >= arguments.size())
            return name + QStringLiteral(" needs a value");
        const QString value = arguments[++i];
        if (name == u"--style-sheet") {
            options.styleSheet = value;
        } else if (name == u"--out") {
            options.out = value;
        } else if (name == u"--resource") {
            options.resource = value;
        } else if (name == u"--search-path") {
            options.searchPaths.append(value);
        } else if (name == u"--text") {
            options.text = value;
        } else if (name == u"--overview") {
            options.overview = value;
        } else if (name == u"--widths") {
            options.widths.clear();
            for (const QString &word : value.split(u',')) {
                bool ok = false;
                const int width = word.toInt(&ok);
                if (!ok || width < 1 || width > 4000)
                    return QStringLiteral("--widths: \"") + word + QStringLiteral("\" is not a width");
                options.widths.append(width);
            }
        } else {
            return QStringLiteral("unknown option ") + name;
        }
    }
    if (options.styleSheet.isEmpty() || options.out.isEmpty())
        return QStringLiteral("--style-sheet and --out are needed");
    return {};
}

// What the widget paints of itself, over nothing: the style sheet's pictures as they are.
QImage paintedAlone(QWidget *widget)
{
    const qreal ratio = widget->devicePixelRatioF();
    QImage image((QSizeF(widget->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

QImage crop(const QImage &image, const QRect &logical)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect device(qRound(logical.x() * ratio), qRound(logical.y() * ratio),
        qRound(logical.width() * ratio), qRound(logical.height() * ratio));
    QImage part = image.copy(device);
    part.setDevicePixelRatio(ratio);
    return part;
}

void press(QWidget *widget, const QPoint &at)
{
    QMouseEvent event(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// As the pointer arrives over the widget's middle: a push button takes its hover from where
// the pointer moves, not from the attribute alone.
void hover(QWidget *widget)
{
    const QPointF at = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(at);
    QEnterEvent enter(at, at, global);
    QApplication::sendEvent(widget, &enter);
    widget->setAttribute(Qt::WA_UnderMouse, true);
    for (QEvent::Type type : { QEvent::HoverEnter, QEvent::HoverMove }) {
        QHoverEvent event(type, at, global, at);
        QApplication::sendEvent(widget, &event);
    }
    QMouseEvent move(QEvent::MouseMove, at, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// One widget in one state: how to put it there.
struct Shot
{
    QString name;
    QWidget *widget;
    std::function<void()> put;
    std::function<QImage(const QImage &)> part;
};

class Probe
{
public:
    explicit Probe(const Options &options)
        : m_options(options)
    {
        m_window.setWindowTitle(QStringLiteral("qsskitprobe"));
        m_window.resize(1200, 900);
    }

    void build()
    {
        addButtons();
        addChecks();
        addCombos();
    }

    // Shown and active, so that the keyboard focus is real; then every shot in turn.
    bool run()
    {
        m_window.show();
        m_window.activateWindow();
        QApplication::processEvents();
        bool ok = true;
        for (const Shot &shot : std::as_const(m_shots)) {
            if (shot.put)
                shot.put();
            QApplication::processEvents();
            shot.widget->repaint();
            const QImage image = paintedAlone(shot.widget);
            const QImage part = shot.part ? shot.part(image) : image;
            const QString path = m_options.out + u'/' + shot.name + QStringLiteral(".png");
            if (!part.save(path, "PNG")) {
                std::fprintf(stderr, "qsskitprobe: cannot write %s\n", qPrintable(path));
                ok = false;
            }
            m_overview.append({ shot.name, part });
        }
        return ok && writeOverview();
    }

private:
    template<typename W> W *make(const QPoint &at)
    {
        auto *widget = new W(&m_window);
        widget->move(at);
        return widget;
    }

    void addButtons()
    {
        int y = 0;
        for (int width : std::as_const(m_options.widths)) {
            const auto add = [&](const QString &state, const std::function<void(QPushButton *)> &put) {
                auto *button = make<QPushButton>(QPoint(0, y));
                button->setText(m_options.text);
                button->setFocusPolicy(Qt::NoFocus);
                button->setFixedWidth(width);
                button->resize(width, button->sizeHint().height());
                y += button->height() + 4;
                m_shots.append({ QStringLiteral("button-%1-%2").arg(state).arg(width), button,
                    [button, put] { put(button); }, {} });
            };
            add(QStringLiteral("normal"), [](QPushButton *) {});
            add(QStringLiteral("hover"), [](QPushButton *b) { hover(b); });
            add(QStringLiteral("pressed"), [](QPushButton *b) {
                hover(b);
                b->setDown(true);
            });
            add(QStringLiteral("disabled"), [](QPushButton *b) { b->setEnabled(false); });
            add(QStringLiteral("focus"), [](QPushButton *b) {
                b->setFocusPolicy(Qt::StrongFocus);
                b->setFocus(Qt::TabFocusReason);
            });
            add(QStringLiteral("default"), [](QPushButton *b) { b->setDefault(true); });
            add(QStringLiteral("checked"), [](QPushButton *b) {
                b->setCheckable(true);
                b->setChecked(true);
            });
        }
        m_nextY = y;
    }

    void addChecks()
    {
        const auto add
            = [&](const QString &state, bool checked, const std::function<void(QCheckBox *)> &put) {
                  auto *box = make<QCheckBox>(QPoint(400, 30 * int(m_shots.size() % 16)));
                  box->setFocusPolicy(Qt::NoFocus);
                  box->setChecked(checked);
                  box->resize(box->sizeHint());
                  m_shots.append({ QStringLiteral("check-") + state, box, [box, put] { put(box); },
                      [box](const QImage &image) {
                          QStyleOptionButton option;
                          option.initFrom(box);
                          return crop(image,
                              box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box));
                      } });
              };
        for (bool checked : { false, true }) {
            const QString on = checked ? QStringLiteral("on") : QString();
            const QString prefix = checked ? QStringLiteral("on-") : QString();
            add(checked ? on : QStringLiteral("off"), checked, [](QCheckBox *) {});
            add(prefix + QStringLiteral("hover"), checked, [](QCheckBox *b) { hover(b); });
            add(prefix + QStringLiteral("active"), checked, [](QCheckBox *b) {
                hover(b);
                b->setDown(true);
            });
            add(prefix + QStringLiteral("disabled"), checked, [](QCheckBox *b) { b->setEnabled(false); });
        }
    }

    void addCombos()
    {
        const auto add = [&](const QString &state, const std::function<void(QComboBox *)> &put) {
            auto *combo = make<QComboBox>(QPoint(600, 40 * int(m_shots.size() % 16)));
            combo->setFocusPolicy(Qt::NoFocus);
            combo->addItems({ QStringLiteral(" "), QStringLiteral("  ") });
            combo->resize(120, combo->sizeHint().height());
            const auto drop = [combo](const QImage &image) {
                QStyleOptionComboBox option;
                option.initFrom(combo);
                option.editable = combo->isEditable();
                option.subControls = QStyle::SC_All;
                return crop(image,
                    combo->style()->subControlRect(
                        QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo));
            };
            m_shots.append({ QStringLiteral("combo-") + state, combo, [combo, put] { put(combo); }, {} });
            m_shots.append({ QStringLiteral("combo-") + state + QStringLiteral("-drop"), combo, {}, drop });
        };
        add(QStringLiteral("normal"), [](QComboBox *) {});
        add(QStringLiteral("pressed"), [](QComboBox *c) {
            QStyleOptionComboBox option;
            option.initFrom(c);
            option.subControls = QStyle::SC_All;
            const QRect arrow
                = c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, c);
            hover(c);
            press(c, arrow.center());
        });
        add(QStringLiteral("disabled"), [](QComboBox *c) { c->setEnabled(false); });
    }

    // Every shot on the window's own colour, at twice the size, to look at.
    bool writeOverview() const
    {
        if (m_options.overview.isEmpty())
            return true;
        int height = 0;
        int width = 0;
        for (const auto &[name, image] : m_overview) {
            height += image.height() + 4;
            width = qMax(width, image.width() + 200);
        }
        QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
        sheet.fill(m_window.palette().color(QPalette::Window));
        QPainter painter(&sheet);
        int y = 0;
        for (const auto &[name, image] : m_overview) {
            QImage plain = image;
            plain.setDevicePixelRatio(1);
            painter.drawImage(0, y, plain);
            painter.drawText(QRect(width - 195, y, 195, qMax(12, image.height())), Qt::AlignVCenter, name);
            y += image.height() + 4;
        }
        painter.end();
        return sheet.save(m_options.overview, "PNG");
    }

    const Options &m_options;
    QWidget m_window;
    QList<Shot> m_shots;
    QList<std::pair<QString, QImage>> m_overview;
    int m_nextY = 0;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication app(argc, argv);
    Options options;
    if (const QString problem = parse(QApplication::arguments(), options); !problem.isEmpty())
        return refuse(problem);
    if (!options.resource.isEmpty() && !QResource::registerResource(options.resource))
        return refuse(QStringLiteral("cannot register ") + options.resource);
    for (const QString &path : std::as_const(options.searchPaths)) {
        const qsizetype equals = path.indexOf(u'=');
        if (equals < 1)
            return refuse(QStringLiteral("--search-path: NAME=DIR, not ") + path);
        QDir::addSearchPath(path.left(equals), path.mid(equals + 1));
    }
    QFile sheet(options.styleSheet);
    if (!sheet.open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("cannot read ") + options.styleSheet);
    app.setStyleSheet(QString::fromUtf8(sheet.readAll()));
    if (!QDir().mkpath(options.out))
        return refuse(QStringLiteral("cannot make ") + options.out);
    Probe probe(options);
    probe.build();
    return probe.run() ? 0 : 1;
}
