#include "ui/calendar_accessible.h"

#include <algorithm>

#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QHash>
#include <QPointer>
#include <QTableView>

#include "logic/calendar_grid.h"

namespace {

constexpr int kDateRows = 6;
constexpr int kDateColumns = 7;

// The calendar's view and where its dates lie in the view's model: the model has a row of the
// days' names above them (unless the calendar hides it) and a column of week numbers before them
// (when shown). A grid position (row 0-5, column 0-6) names a date cell whatever those do.
class CalendarGrid {
public:
    CalendarGrid(QTableView* view, QCalendarWidget* calendar)
        : m_view(view), m_calendar(calendar) {}

    bool IsValid() const {
        return m_view != nullptr && m_calendar != nullptr && m_view->model() != nullptr;
    }
    QTableView* View() const { return m_view; }
    QCalendarWidget* Calendar() const { return m_calendar; }
    int FirstRow() const { return std::max(0, m_view->model()->rowCount() - kDateRows); }
    int FirstColumn() const { return std::max(0, m_view->model()->columnCount() - kDateColumns); }
    QModelIndex IndexAt(int row, int column) const {
        return m_view->model()->index(FirstRow() + row, FirstColumn() + column,
                                      m_view->rootIndex());
    }
    QDate DateAt(int row, int column) const {
        const int day = IndexAt(row, column).data(Qt::DisplayRole).toInt();
        return CalendarGridDate(m_calendar->yearShown(), m_calendar->monthShown(), row, day,
                                m_calendar->calendar());
    }
    QString DayName(int column) const {
        return m_view->locale().dayName(CalendarColumnDay(m_calendar->firstDayOfWeek(), column),
                                        QLocale::LongFormat);
    }
    // A rectangle of the view's viewport on the screen.
    QRect OnScreen(const QRect& rect) const {
        return rect.isValid() ? QRect(m_view->viewport()->mapToGlobal(rect.topLeft()), rect.size())
                              : QRect();
    }
    QAccessibleInterface* TableInterface() const {
        return QAccessible::queryAccessibleInterface(m_view.data());
    }

private:
    QPointer<QTableView> m_view;
    QPointer<QCalendarWidget> m_calendar;
};

// A child of the table: no object of its own, no children.
class GridPart : public QAccessibleInterface {
public:
    GridPart(const CalendarGrid& grid, int column) : m_grid(grid), m_column(column) {}

    bool isValid() const override { return m_grid.IsValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* table = parent();
        return table != nullptr ? table->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return m_grid.IsValid() ? m_grid.TableInterface() : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

    const CalendarGrid& Grid() const { return m_grid; }
    int Column() const { return m_column; }

private:
    CalendarGrid m_grid;
    const int m_column;
};

// A column's header: the day of the week its dates fall on.
class DayHeader : public GridPart {
public:
    using GridPart::GridPart;

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? Grid().DayName(Column()) : QString();
    }
    // Where the day's name is drawn, in the model's row of names.
    QRect rect() const override {
        if (!isValid() || Grid().FirstRow() == 0) {
            return {};
        }
        const QModelIndex name = Grid().View()->model()->index(0, Grid().FirstColumn() + Column());
        return Grid().OnScreen(Grid().View()->visualRect(name));
    }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !isValid() || Grid().FirstRow() == 0;
        return s;
    }
};

// A date of the grid; everything it says is read when asked, so a month shown later needs
// nothing renewed.
class DateCell : public GridPart,
                 public QAccessibleTableCellInterface,
                 public QAccessibleActionInterface {
public:
    DateCell(const CalendarGrid& grid, int row, int column) : GridPart(grid, column), m_row(row) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface) {
            return static_cast<QAccessibleTableCellInterface*>(this);
        }
        if (t == QAccessible::ActionInterface) {
            return static_cast<QAccessibleActionInterface*>(this);
        }
        return nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !isValid()) {
            return {};
        }
        const QDate date = Date();
        return date.isValid() ? Grid().View()->locale().toString(date, QLocale::LongFormat)
                              : QString();
    }
    QRect rect() const override {
        return isValid() ? Grid().OnScreen(Grid().View()->visualRect(Index())) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const QTableView& view = *Grid().View();
        s.focusable = true;
        s.selectable = true;
        s.selected = isSelected();
        s.focused = view.hasFocus() && view.currentIndex() == Index();
        s.disabled = !Selectable();
        return s;
    }

    bool isSelected() const override {
        return isValid() && Date() == Grid().Calendar()->selectedDate();
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        QAccessibleInterface* header = ColumnHeader();
        return header != nullptr ? QList<QAccessibleInterface*>{header}
                                 : QList<QAccessibleInterface*>();
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return Column(); }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override {
        return isValid() && Selectable() ? QStringList{pressAction()} : QStringList();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && Selectable()) {
            Grid().Calendar()->setSelectedDate(Date());
        }
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QModelIndex Index() const { return Grid().IndexAt(m_row, Column()); }
    QDate Date() const { return Grid().DateAt(m_row, Column()); }
    // Within the calendar's range: the calendar would move any other date into it.
    bool Selectable() const {
        const QDate date = Date();
        const QCalendarWidget& calendar = *Grid().Calendar();
        return date.isValid() && date >= calendar.minimumDate() && date <= calendar.maximumDate();
    }
    QAccessibleInterface* ColumnHeader() const;

    const int m_row;
};

// The view as a table of six weeks of dates under the days' names.
//
// Its children are numbered as Qt's table numbers them, for the focus and selection events the
// view sends carry those numbers: the view's hidden header row first, then the model's rows,
// each led by the hidden vertical header's section. The hidden header's sections over the dates
// are the column headers; the model's own row of the days' names (and the week numbers, when
// shown) says nothing the headers do not, and its places stay empty, as do the corner and the
// vertical header's.
class CalendarTable : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    CalendarTable(QTableView* view, QCalendarWidget* calendar)
        : QAccessibleWidget(view, QAccessible::Table), m_grid(view, calendar) {}

    ~CalendarTable() override {
        for (const QAccessible::Id id : std::as_const(m_parts)) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface) {
            return static_cast<QAccessibleTableInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    bool isValid() const override { return QAccessibleWidget::isValid() && m_grid.IsValid(); }

    int childCount() const override { return isValid() ? (Model().rowCount() + 1) * Stride() : 0; }
    QAccessibleInterface* child(int index) const override {
        if (!isValid() || index < 0 || index >= childCount()) {
            return nullptr;
        }
        const int modelRow = index / Stride() - 1;
        const int column = index % Stride() - 1 - m_grid.FirstColumn();
        if (column < 0) {
            return nullptr;
        }
        if (modelRow < 0) {
            return Header(column);
        }
        const int row = modelRow - m_grid.FirstRow();
        return row >= 0 ? Cell(row, column) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto* part = dynamic_cast<const GridPart*>(child);
        if (!isValid() || part == nullptr || part->Grid().View() != m_grid.View()) {
            return -1;
        }
        const int column = m_grid.FirstColumn() + part->Column() + 1;
        if (const auto* cell = dynamic_cast<const DateCell*>(part)) {
            return (m_grid.FirstRow() + cell->rowIndex() + 1) * Stride() + column;
        }
        return column;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (!isValid()) {
            return nullptr;
        }
        const QTableView& view = *m_grid.View();
        return CellOf(view.indexAt(view.viewport()->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface* focusChild() const override {
        if (!isValid() || !m_grid.View()->hasFocus()) {
            return nullptr;
        }
        return CellOf(m_grid.View()->currentIndex());
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return isValid() ? Cell(row, column) : nullptr;
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> selected;
        for (int row = 0; isValid() && row < kDateRows; ++row) {
            for (int column = 0; column < kDateColumns; ++column) {
                if (m_grid.DateAt(row, column) == m_grid.Calendar()->selectedDate()) {
                    selected << Cell(row, column);
                }
            }
        }
        return selected;
    }
    QString columnDescription(int column) const override {
        return isValid() && column >= 0 && column < kDateColumns ? m_grid.DayName(column)
                                                                 : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kDateColumns; }
    int rowCount() const override { return kDateRows; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // One date is selected at a time, never a week or a weekday.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // The children stand for grid positions and read the model when asked: nothing to renew.
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    QAccessibleInterface* Header(int column) const {
        return column >= 0 && column < kDateColumns
                   ? Part(kDateRows * kDateColumns + column,
                          [&] { return new DayHeader(m_grid, column); })
                   : nullptr;
    }

private:
    const QAbstractItemModel& Model() const { return *m_grid.View()->model(); }
    // Children per model row: the vertical header's section and the model's columns.
    int Stride() const { return Model().columnCount() + 1; }

    QAccessibleInterface* Cell(int row, int column) const {
        return row >= 0 && row < kDateRows && column >= 0 && column < kDateColumns
                   ? Part(row * kDateColumns + column,
                          [&] { return new DateCell(m_grid, row, column); })
                   : nullptr;
    }
    // The date cell at a model index; none for the names, week numbers or no index.
    QAccessibleInterface* CellOf(const QModelIndex& index) const {
        return index.isValid()
                   ? Cell(index.row() - m_grid.FirstRow(), index.column() - m_grid.FirstColumn())
                   : nullptr;
    }
    // The child for `key`, made and registered when first asked for; the same one after.
    template <typename Make>
    QAccessibleInterface* Part(int key, Make make) const {
        if (const auto found = m_parts.constFind(key); found != m_parts.constEnd()) {
            if (QAccessibleInterface* part = QAccessible::accessibleInterface(*found)) {
                return part;
            }
        }
        QAccessibleInterface* part = make();
        m_parts.insert(key, QAccessible::registerAccessibleInterface(part));
        return part;
    }

    CalendarGrid m_grid;
    mutable QHash<int, QAccessible::Id> m_parts;  // registered children, deleted with the table
};

QAccessibleInterface* DateCell::ColumnHeader() const {
    auto* table = dynamic_cast<CalendarTable*>(parent());
    return table != nullptr ? table->Header(Column()) : nullptr;
}

QAccessibleInterface* CalendarViewFactory(const QString& className, QObject* object) {
    auto* view = qobject_cast<QTableView*>(object);
    if (className != QLatin1String("QCalendarView") || view == nullptr) {
        return nullptr;
    }
    for (QObject* up = view->parent(); up != nullptr; up = up->parent()) {
        if (auto* calendar = qobject_cast<QCalendarWidget*>(up)) {
            return new CalendarTable(view, calendar);
        }
    }
    return nullptr;
}

}  // namespace

void InstallCalendarAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(CalendarViewFactory);
        return true;
    }();
    (void)installed;
}
