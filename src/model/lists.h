// Operations on the intrusive doubly linked lists of the game records.
// Every list is known by its head pointer; the head's prev is null.
#pragma once

namespace qv {

// Inserts rec at the head of the list.
template <typename T>
void InsertAtHead(T*& head, T* rec) {
    rec->next = head;
    rec->prev = nullptr;
    if (head) head->prev = rec;
    head = rec;
}

// Unlinks rec from the list. The record's own links are left as they were.
template <typename T>
void Unlink(T*& head, T* rec) {
    if (head == rec) head = rec->next;
    if (rec->prev) rec->prev->next = rec->next;
    if (rec->next) rec->next->prev = rec->prev;
}

// 1-based position of rec in the list; 0 when rec is null or not in it.
template <typename T>
int IndexOf(const T* head, const T* rec) {
    if (!rec) return 0;
    int i = 1;
    for (const T* p = head; p; p = p->next, ++i)
        if (p == rec) return i;
    return 0;
}

// The record at 1-based position n, or null when the list is shorter
// (or n < 1).
template <typename T>
T* RecordAt(T* head, int n) {
    if (n < 1) return nullptr;
    T* p = head;
    for (int i = 1; p && i < n; ++i) p = p->next;
    return p;
}

template <typename T>
int CountOf(const T* head) {
    int n = 0;
    for (const T* p = head; p; p = p->next) ++n;
    return n;
}

template <typename T>
T* LastOf(T* head) {
    if (!head) return nullptr;
    while (head->next) head = head->next;
    return head;
}

// Reverses the list: every record's next and prev are swapped and the old
// tail becomes the head.
template <typename T>
void ReverseList(T*& head) {
    T* p = head;
    while (p) {
        T* next = p->next;
        p->next = p->prev;
        p->prev = next;
        head = p;
        p = next;
    }
}

// Frees every record of the list and leaves it empty.
template <typename T>
void FreeList(T*& head) {
    while (head) {
        T* next = head->next;
        delete head;
        head = next;
    }
}

}  // namespace qv
