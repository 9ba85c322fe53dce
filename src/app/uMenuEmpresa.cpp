#include "uMenuEmpresa.h"

#include "BotoesConfirma.h"
#include "Empresas.h"
#include "FieldEdit.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

TfoMenuEmpresa::TfoMenuEmpresa(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"foMenuEmpresa"_s);
    setWindowTitle(u"Seleção da Empresa"_s);
    setFixedSize(443, 318);

    DBGrid1 = new QTableWidget(0, 2, this);
    DBGrid1->setObjectName(u"DBGrid1"_s);
    DBGrid1->setHorizontalHeaderLabels({u"Codigo"_s, u"Nome"_s});
    // 42 pixels, or what the title needs in this font
    DBGrid1->setColumnWidth(0, std::max(42, DBGrid1->horizontalHeader()->sectionSizeHint(0)));
    DBGrid1->setColumnWidth(1, 343);
    DBGrid1->horizontalHeader()->setStretchLastSection(true);
    DBGrid1->verticalHeader()->setDefaultSectionSize(20);
    DBGrid1->verticalHeader()->hide();
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* find = new QAction(u"Localiza Empresa"_s, DBGrid1);
    find->setObjectName(u"LocalizaEmpresa1"_s);
    DBGrid1->addAction(find);
    connect(find, &QAction::triggered, this, &TfoMenuEmpresa::localiza);
    connect(DBGrid1, &QTableWidget::cellDoubleClicked, this, &TfoMenuEmpresa::escolhida);

    const BotoesConfirma buttons = botoesConfirma(this, u"Button1"_s, u"Button2"_s, u"Sair"_s,
                                                  &TfoMenuEmpresa::escolhida, &TfoMenuEmpresa::sair);
    Button1 = buttons.ok;
    Button2 = buttons.saida;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBGrid1);
    layout->addLayout(buttons.linha);
    DBGrid1->installEventFilter(this);
    EnterMovesFocus::install(this);
}

void TfoMenuEmpresa::setRows(const QList<EmpresaRow>& rows)
{
    DBGrid1->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        DBGrid1->setItem(i, 0, new QTableWidgetItem(u"%1"_s.arg(rows[i].Codigo, 3, 10, QChar(u'0'))));
        DBGrid1->setItem(i, 1, new QTableWidgetItem(rows[i].Nome));
    }
    if (!rows.isEmpty())
        setCurrentRow(0);
}

int TfoMenuEmpresa::currentRow() const { return DBGrid1->currentRow(); }

void TfoMenuEmpresa::setCurrentRow(int row)
{
    DBGrid1->setCurrentCell(row, 0);
    DBGrid1->selectRow(row);
}

bool TfoMenuEmpresa::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on the grid moves to the next control as it does in the fields;
    // the window's Enter handling leaves grids alone, where Enter may open a row
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (QWidget* next = EnterMovesFocus::nextField(DBGrid1))
                next->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfoMenuEmpresa::closeEvent(QCloseEvent* event)
{
    if (!closingByProgram_) {
        event->ignore();
        emit sair();
        return;
    }
    QWidget::closeEvent(event);
}

}  // namespace pcp
