#include "accessibility.h"

#include "main_form.h"

#include <QAccessibleWidget>
#include <QListWidget>

namespace {

QAccessibleInterface *accessibleFor(const QString &, QObject *object)
{
    // A plain top-level widget would be announced as a filler, not a window.
    if (auto *form = qobject_cast<MainForm *>(object))
        return new QAccessibleWidget(form, QAccessible::Window);

    // The item view's own interface reports its rows as showing whatever the
    // view's visibility; a list that is never shown offers no rows at all.
    if (auto *list = qobject_cast<QListWidget *>(object); list && list->isHidden())
        return new QAccessibleWidget(list, QAccessible::List);

    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed);
}
