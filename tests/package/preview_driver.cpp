// Drives the installed window program, which has no test hooks of its own:
// Qt loads this plugin into it when QT_QPA_GENERIC_PLUGINS names
// "brindlewickpreviewdriver" and QT_PLUGIN_PATH holds its folder. Once the
// main window is up it chooses プロジェクト → ドキュメントビュー, and when the
// preview's page has loaded it ends the program: 0 when the page loaded,
// 1 when it failed.
#include <QAction>
#include <QApplication>
#include <QGenericPlugin>
#include <QTimer>
#include <QWidget>
#include <cstdio>

class PreviewDriver : public QObject {
    Q_OBJECT

public:
    PreviewDriver() {
        connect(&m_poll, &QTimer::timeout, this, &PreviewDriver::openPreview);
        m_poll.start(50);
    }

private slots:
    void openPreview() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* item = window->findChild<QAction*>(QStringLiteral("DocumentView_ProjectMenu"));
            if (!item || !window->isVisible())
                continue;
            m_poll.stop();
            item->trigger();
            QObject* view = window->findChild<QObject*>(QStringLiteral("WebBrowserCtrl"));
            if (!view || !connect(view, SIGNAL(loadFinished(bool)), this, SLOT(loaded(bool)))) {
                std::fputs("preview driver: no preview window\n", stderr);
                QCoreApplication::exit(1);
            }
            return;
        }
    }

    void loaded(bool ok) {
        std::fprintf(stderr, "preview driver: page %s\n", ok ? "loaded" : "failed");
        QCoreApplication::exit(ok ? 0 : 1);
    }

private:
    QTimer m_poll;
};

class PreviewDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "preview_driver.json")

public:
    QObject* create(const QString& /*name*/, const QString& /*parameters*/) override {
        return new PreviewDriver;
    }
};

#include "preview_driver.moc"
