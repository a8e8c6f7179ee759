#pragma once

// The current row of the entry table, as the entry commands see it. The
// window implements it over its table view; rows count from 0.
class TableCursor {
public:
    virtual ~TableCursor() = default;

    // -1 when the table has no current row.
    virtual int currentRow() const = 0;
    // Makes the row current and scrolls it into sight.
    virtual void setCurrentRow(int row) = 0;
};
