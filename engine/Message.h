#pragma once

#include <ostream>

/// A message on the bus. Built on the sender's stack and delivered synchronously by const
/// reference, so it is never deleted through this base and needs no virtual destructor.
class Message {
public:
    /// The message's kind, one of the constants in MessageId.
    virtual int TypeId() const = 0;
    /// Writes the message as one line of text (no line end unless the message's text has one).
    virtual std::ostream& Trace(std::ostream& out) const = 0;

protected:
    Message() = default;
    Message(const Message&) = default;
    Message& operator=(const Message&) = default;
    ~Message() = default;
};
