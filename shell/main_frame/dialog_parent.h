#pragma once

class QWidget;

// The parent for a dialog opened while another may be modal: the modal one, else the window.
QWidget* DialogParent(QWidget& window);
