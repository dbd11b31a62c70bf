#include "skin/SkinMessages.h"

#include <QApplication>
#include <QMessageBox>

namespace {

class BoxSkinMessages final : public SkinMessages
{
public:
    void show(const QString& text) override
    {
        QMessageBox::information(QApplication::activeWindow(), QApplication::applicationName(), text);
    }
};

} // namespace

SkinMessages& boxSkinMessages()
{
    static BoxSkinMessages instance;
    return instance;
}
