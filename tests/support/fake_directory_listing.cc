#include "tests/support/fake_directory_listing.h"

#include <gtest/gtest.h>

#include "platform/directory_listing.h"

std::vector<fake_pass> fake_listing_script;

struct directory_listing {
  fake_pass pass;
  size_t next;
};

directory_listing* listing_open(const char* /*directory*/, char* /*path_buffer*/, int* error) {
  if (fake_listing_script.empty()) {
    ADD_FAILURE() << "the scan listed the directory more often than scripted";
    *error = 0;
    return nullptr;
  }
  fake_pass pass = fake_listing_script.front();
  fake_listing_script.erase(fake_listing_script.begin());
  if (pass.open_fails_with != 0) {
    *error = pass.open_fails_with;
    return nullptr;
  }
  return new directory_listing{pass, 0};
}

listing_step listing_next(directory_listing* listing, bool /*with_size*/, listing_entry* entry,
                          int* error) {
  if (listing->next == listing->pass.entries.size()) return listing_step::end;
  const fake_entry& fake = listing->pass.entries[listing->next++];
  if (fake.fail_with != 0) {
    *error = fake.fail_with;
    return listing_step::failed;
  }
  *entry = listing_entry{fake.name.c_str(), fake.is_member, fake.size};
  return listing_step::entry;
}

void listing_close(directory_listing* listing) { delete listing; }
