#include "CapturaInicial.h"

#include "Aplicacao.h"
#include "TDMFilial.h"
#include "TFormSenha.h"
#include "TFormSplash.h"
#include "uMenuEmpresa.h"
#include "uSenhaEmpresa.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
QString grab(QWidget* w, const QString& dir, const QString& name)
{
    w->show();
    QApplication::processEvents();
    const QString file = QDir(dir).filePath(name + u".png"_s);
    w->grab().save(file);
    w->hide();
    return file;
}
}  // namespace

QStringList capturaTelasIniciais(Aplicacao& app, const QString& dir)
{
    QDir().mkpath(dir);
    QStringList files;
    TFormSplash splash;
    files << grab(&splash, dir, u"TFormSplash"_s);
    Empresas empresas;
    empresas.open(app.paths().empresaDb());
    TfoMenuEmpresa company;
    company.setRows(empresas.rows());
    files << grab(&company, dir, u"TfoMenuEmpresa"_s);
    TfoSenhaEmpresa senha;
    files << grab(&senha, dir, u"TfoSenhaEmpresa"_s);
    TMenuFilial branch;
    TableCursor& f = app.branchModule()->TFilial;
    for (f.first(); !f.eof(); f.next())
        branch.ComboBox1->addItem(f.asString(u"NOME"_s));
    branch.adjustSize();
    files << grab(&branch, dir, u"TMenuFilial"_s);
    if (auto acesso = leCodigoAcesso(app.branchModule()->store(), 101)) {
        TFormSenha form;
        form.prepara(app.branchModule()->store(), *acesso);
        files << grab(&form, dir, u"TFormSenha"_s);
    }
    TMenuPcp menu;
    files << grab(&menu, dir, u"TMenuPcp"_s);
    return files;
}

}  // namespace pcp
