#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/QtOffscreenEnvironment.h"

#include <QAbstractButton>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace morvane::test {
namespace {
[[maybe_unused]] const auto* environment =
    ::testing::AddGlobalTestEnvironment(new morvane::test::QtOffscreenEnvironment);

QString plain(QString text) {
    return text.remove('&');
}
} // namespace

void answerModals(const QStringList& buttons, QStringList* seen) {
    // Polls for a modal window that has the next button, for up to ten seconds each.
    auto* timer = new QTimer(qApp);
    auto next = std::make_shared<int>(0);
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        const QString button = buttons.value(*next);
        QWidget* modal = QApplication::activeModalWidget();
        for (QAbstractButton* candidate :
             modal ? modal->findChildren<QAbstractButton*>() : QList<QAbstractButton*>()) {
            if (plain(candidate->text()) != button || !candidate->isVisible())
                continue;
            if (seen) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                seen->push_back(box ? box->text() : modal->objectName());
            }
            if (++*next == buttons.size()) {
                timer->stop();
                timer->deleteLater();
            }
            *deadline = QDeadlineTimer(10000);
            candidate->click();
            return;
        }
        if (deadline->hasExpired()) {
            ADD_FAILURE() << "no modal window with the button " << button.toStdString();
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace morvane::test
