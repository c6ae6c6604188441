#include "effect/ControlList.h"

#include <new>

ControlList::ControlList() : head(nullptr) {}

ControlList::~ControlList()
{
    clear();
}

bool ControlList::appendControl(const ControlDescriptor& descriptor)
{
    Node* node = new (std::nothrow) Node;
    if (node == nullptr)
        return false;
    node->descriptor = descriptor;
    node->next = nullptr;

    if (head == nullptr)
    {
        head = node;
        return true;
    }
    Node* tail = head;
    while (tail->next != nullptr)
        tail = tail->next;
    tail->next = node;
    return true;
}

int ControlList::controlCount() const
{
    int count = 0;
    for (Node* node = head; node != nullptr; node = node->next)
        ++count;
    return count;
}

ControlDescriptor* ControlList::controlAt(int position) const
{
    if (position < 0)
        return nullptr;
    Node* node = head;
    for (int i = 0; node != nullptr && i < position; ++i)
        node = node->next;
    return node != nullptr ? &node->descriptor : nullptr;
}

void ControlList::removeControl(uint32_t controlId)
{
    Node* previous = nullptr;
    for (Node* node = head; node != nullptr; previous = node, node = node->next)
    {
        if (node->descriptor.controlId != controlId)
            continue;
        if (previous == nullptr)
            head = node->next;
        else
            previous->next = node->next;
        delete node;
        return;
    }
}

void ControlList::clear()
{
    while (head != nullptr)
    {
        Node* next = head->next;
        delete head;
        head = next;
    }
}
