#pragma once

namespace addressbook {

class AddressBook;
struct Change;
struct Person;
class Statement;

} // namespace addressbook
