#pragma once

#include <functional>

#include "info/ProductInfo.h"
#include "info/ValueQuery.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"
#include "settings/SettingsRead.h"
#include "ui/Messenger.h"
#include "upload/ImageHeadRead.h"
#include "upload/TailBlockRead.h"

namespace varnow {

enum class ProductInfoOutcome {
    Read,
    NoBoard,        // the port closed before a step: "Open a COM port and try again."
    TimedOut,       // a step did not end in time: "Has failed to get the configuration values."
    Undecodable,    // the settings block failed its checks: the same message
    MalformedTail,  // the firmware's tail block is damaged: the chain stops without a word
    HeadStalled,    // the image head stopped coming: the chain stops without a word
    PortLost,
};

// "Product/Firmware information": the MAC, the uptime, the firmware's tail block, the
// settings block (for the product name) and the image head (for its name), one after the
// other; the firmware's size and version come from the FIB id of the connect.
class ProductInfoRead {
public:
    using Done = std::function<void(const Outcome<ProductInfoOutcome>&, const ProductInfo&)>;

    ProductInfoRead(BoardLink& link, Messenger& messenger);
    void Start(Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    // Steps 1 to 4 start only while the port is open.
    bool PortStillOpen();
    void ReadMac();
    void ReadUptime();
    void ReadTail();
    void ReadSettings();
    void ReadHead();
    // A query's end: its value kept, or the chain ended with message 147.
    bool Answered(const Outcome<QueryOutcome>& outcome);
    void Finish(ProductInfoOutcome outcome, std::string command = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    ValueQuery m_query;
    TailBlockRead m_tail;
    SettingsRead m_settings;
    ImageHeadRead m_head;
    ProductInfo m_info;
    Done m_done;
};

}  // namespace varnow
