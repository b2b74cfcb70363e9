// The toolkit's floor for a clock: a frameless translucent Qt window of the clock's size that
// repaints 8 x 8 pixels once a second, and does nothing else.
#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>

class Bare : public QWidget {
public:
    Bare() {
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        setAttribute(Qt::WA_TranslucentBackground);
        resize(208, 209);
        m_tick.setTimerType(Qt::PreciseTimer);
        connect(&m_tick, &QTimer::timeout, this, [this] {
            m_on = !m_on;
            update(100, 100, 8, 8);
        });
        m_tick.start(1000);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(100, 100, 8, 8, m_on ? Qt::red : Qt::blue);
    }

private:
    QTimer m_tick;
    bool m_on = false;
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bare window;
    window.show();
    return app.exec();
}
