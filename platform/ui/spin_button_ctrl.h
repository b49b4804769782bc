#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The up and down arrows beside an edit that holds a whole number: each click (or the arrow
// keys in the edit) moves the number one step within the range. The edit itself takes any
// text; its owner checks what was typed.
class CSpinButtonCtrl : public QWidget {
public:
    explicit CSpinButtonCtrl(QWidget* parent = nullptr);

    void SetBuddy(QLineEdit* buddy);
    void SetRange(int lower, int upper);
    int GetLower() const { return m_lower; }
    int GetUpper() const { return m_upper; }
    // Moves the buddy's number by the steps, kept within the range; a text that holds no
    // number starts from the range's lower end.
    void Step(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up;
    QToolButton* m_down;
    int m_lower = 0;
    int m_upper = 100;
};
