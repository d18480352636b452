#pragma once

namespace contacts {

class AddressBook;
class CNContact;
class CNContactFetchRequest;
class CNContactStore;
class CNLabeledValue;
class CNPhoneNumber;
struct Card;
struct LabeledText;
struct VCardReading;

} // namespace contacts
