#pragma once

#include "ui/MessageHost.h"
#include "ui/Messenger.h"
#include "ui/StringTable.h"

// A messenger whose messages go nowhere: the fuzz targets check behaviour, not texts.
class SilentHost : public varnow::MessageHost {
public:
    varnow::MessageResult ShowMessage(const varnow::Message&) override {
        return varnow::MessageResult::Ok;
    }
};

struct SilentMessenger {
    SilentHost host;
    varnow::StringTable strings = varnow::StringTable::BuiltIn();
    varnow::Messenger messenger{host, strings, varnow::Language::English};
};
