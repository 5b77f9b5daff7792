#include "rig_setup.h"

std::unique_ptr<PanelOnFarEnd> panelOnFarEnd(std::initializer_list<QString> figures)
{
    auto setup = std::make_unique<PanelOnFarEnd>();
    QString error;
    if (setup->farEnd.start(&error)) {
        setup->rig = std::make_unique<PanelRig>(setup->farEnd.devicePath());
        if (setup->rig->isReady())
            return setup;
        error = setup->rig->problem();
    }
    for (const QString &figure : figures)
        emitRow(missing(figure, error));
    return nullptr;
}

std::unique_ptr<BareOnFarEnd> bareOnFarEnd(std::initializer_list<QString> figures)
{
    auto setup = std::make_unique<BareOnFarEnd>();
    QString error;
    if (setup->farEnd.start(&error) && setup->repeater.open(setup->farEnd.devicePath(), &error))
        return setup;
    for (const QString &figure : figures)
        emitRow(missing(figure, error));
    return nullptr;
}
