#pragma once
// The plugin's root object: the class factory the host finds by the
// handler's interface identifier.

#include "Vostrel.h"

#include <QObject>

namespace Vostrel {

class ComponentFactory final : public QObject, public Component {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VOSTREL_CLSERRHANDLER_IID)
    Q_INTERFACES(Vostrel::Component)

public:
    std::unique_ptr<clsErrHandler> createErrHandler() override;
};

} // namespace Vostrel
