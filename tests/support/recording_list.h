#pragma once

#include <algorithm>
#include <vector>

#include "model/list_control.h"

// A list or combo that keeps its rows; a sorted one puts added rows in text order.
class CRecordingList : public IListControl {
public:
    struct Row {
        CString text;
        LPARAM data;
        std::vector<CString> columns;  // the texts of the further columns
    };

    explicit CRecordingList(bool sorted = false) : m_sorted(sorted) {}

    int GetColumnCount() const override { return static_cast<int>(m_headings.size()); }
    void AddColumn(const CString& heading) override { m_headings.push_back(heading); }
    void DeleteAll() override { m_rows.clear(); }
    int AddItem(const CString& text, LPARAM data) override {
        if (!m_sorted) return InsertItem(-1, text, data);
        const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), text,
                                         [](const CString& t, const Row& r) { return t < r.text; });
        return InsertItem(static_cast<int>(it - m_rows.begin()), text, data);
    }
    int InsertItem(int row, const CString& text, LPARAM data) override {
        if (row < 0 || row > static_cast<int>(m_rows.size())) row = static_cast<int>(m_rows.size());
        m_rows.insert(m_rows.begin() + row, Row{text, data, {}});
        return row;
    }
    void SetItemText(int row, int column, const CString& text) override {
        auto& columns = m_rows.at(static_cast<size_t>(row)).columns;
        if (columns.size() < static_cast<size_t>(column))
            columns.resize(static_cast<size_t>(column));
        columns[static_cast<size_t>(column) - 1] = text;
    }
    void SetRedraw(BOOL redraw) override { m_redrawCalls.push_back(redraw); }

    std::vector<CString> Texts() const {
        std::vector<CString> texts;
        for (const Row& row : m_rows)
            texts.push_back(row.text);
        return texts;
    }
    std::vector<LPARAM> Data() const {
        std::vector<LPARAM> data;
        for (const Row& row : m_rows)
            data.push_back(row.data);
        return data;
    }

    bool m_sorted;
    std::vector<CString> m_headings;
    std::vector<Row> m_rows;
    std::vector<BOOL> m_redrawCalls;
};
