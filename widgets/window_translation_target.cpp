#include "widgets/window_translation_target.h"

#include "widgets/fonts.h"

#include <QMetaProperty>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace widgets {

namespace {

QMetaProperty FindProperty(const QObject& object, const std::string& name)
{
    const QMetaObject* meta = object.metaObject();
    const int index = meta->indexOfProperty(name.c_str());
    return index < 0 ? QMetaProperty() : meta->property(index);
}

// The property a segment names: the object's own of that name, else the Qt
// property the tables' name stands for.
QMetaProperty ResolveProperty(const QObject& object, const std::string& segment)
{
    if (const QMetaProperty own = FindProperty(object, segment); own.isValid())
        return own;
    const auto* widget = qobject_cast<const QWidget*>(&object);
    if (segment == "Caption")
        return FindProperty(object, widget && widget->isWindow() ? "windowTitle" : "text");
    if (segment == "Hint")
        return FindProperty(object, "toolTip");
    if (segment == "Text")
        return FindProperty(object, "text");
    return {};
}

// The object holding the path's last property, and that property.
std::pair<QObject*, QMetaProperty> Resolve(QObject* object, const i18n::PropertyPath& path,
                                           int type)
{
    if (!object || path.empty())
        return {};
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const QMetaProperty step = ResolveProperty(*object, path[i]);
        if (!step.isValid() || step.metaType().id() != QMetaType::QObjectStar)
            return {};
        object = step.read(object).value<QObject*>();
        if (!object)
            return {};
    }
    const QMetaProperty last = ResolveProperty(*object, path.back());
    if (!last.isValid() || last.metaType().id() != type)
        return {};
    return {object, last};
}

// Another window opened over this one (a dialog) owns its own controls.
bool IsOtherWindow(const QObject& object)
{
    const auto* widget = qobject_cast<const QWidget*>(&object);
    return widget && (widget->windowType() == Qt::Window || widget->windowType() == Qt::Dialog);
}

// Nearest first, as names within one window are meant to be unique anyway.
QObject* FindInWindow(QObject& window, const QString& name)
{
    std::vector<QObject*> level{&window};
    while (!level.empty()) {
        std::vector<QObject*> next;
        for (QObject* parent : level) {
            for (QObject* child : parent->children()) {
                if (IsOtherWindow(*child))
                    continue;
                if (child->objectName() == name)
                    return child;
                next.push_back(child);
            }
        }
        level = std::move(next);
    }
    return nullptr;
}

} // namespace

WindowTranslationTarget::WindowTranslationTarget(QWidget& window, std::string className)
    : window_(window), className_(std::move(className))
{
}

std::string WindowTranslationTarget::Name() const
{
    return window_.objectName().toStdString();
}

QObject* WindowTranslationTarget::Control(const std::string& name) const
{
    if (name.empty())
        return &window_;
    return FindInWindow(window_, QString::fromStdString(name));
}

QWidget* WindowTranslationTarget::ControlWidget(const std::string& name) const
{
    return qobject_cast<QWidget*>(Control(name));
}

bool WindowTranslationTarget::HasControl(const std::string& name) const
{
    return !name.empty() && Control(name);
}

std::optional<std::string> WindowTranslationTarget::ReadText(const std::string& control,
                                                             const i18n::PropertyPath& path) const
{
    const auto [object, property] = Resolve(Control(control), path, QMetaType::QString);
    if (!object)
        return std::nullopt;
    return property.read(object).toString().toStdString();
}

void WindowTranslationTarget::WriteText(const std::string& control, const i18n::PropertyPath& path,
                                        const std::string& text)
{
    const auto [object, property] = Resolve(Control(control), path, QMetaType::QString);
    if (object && property.isWritable())
        property.write(object, QString::fromStdString(text));
}

std::optional<std::vector<std::string>>
WindowTranslationTarget::ReadLines(const std::string& control, const std::string& property) const
{
    const auto [object, list] = Resolve(Control(control), {property}, QMetaType::QStringList);
    if (!object)
        return std::nullopt;
    std::vector<std::string> lines;
    for (const QString& line : list.read(object).toStringList())
        lines.push_back(line.toStdString());
    return lines;
}

void WindowTranslationTarget::WriteLines(const std::string& control, const std::string& property,
                                         const std::vector<std::string>& lines)
{
    const auto [object, list] = Resolve(Control(control), {property}, QMetaType::QStringList);
    if (!object || !list.isWritable())
        return;
    QStringList value;
    for (const std::string& line : lines)
        value.append(QString::fromStdString(line));
    list.write(object, value);
}

bool WindowTranslationTarget::HasParentFont(const std::string& control) const
{
    const QWidget* widget = ControlWidget(control);
    return !widget || !widget->testAttribute(Qt::WA_SetFont);
}

void WindowTranslationTarget::SetFontName(const std::string& control, const std::string& name)
{
    QWidget* widget = ControlWidget(control);
    if (!widget)
        return;
    QFont font = widget->font();
    font.setFamily(UiFontFamily(QString::fromStdString(name)));
    widget->setFont(font);
}

// Qt's fonts cover every script by themselves; there is no character set to
// choose.
void WindowTranslationTarget::SetFontCharset(const std::string&, int) {}

} // namespace widgets
