/* Brindlewick structured FAQ design.
   An entry that is switched off in Brindlewick still comes out in the page,
   as a question and an answer with nothing in them and an anchor that
   starts with q-off-. The style sheet hides it from readers; this script
   also takes it out of the page, so that search engines, which read the
   page as a browser shows it, find only the questions that are really
   there in the FAQPage data. A question that has no answer yet stays on
   the page but leaves the FAQPage data. Each kind is found with one
   selector, so that a page of thousands of entries is not walked entry by
   entry. */
(function () {
  "use strict";

  var ITEM_ATTRIBUTES = ["itemscope", "itemprop", "itemtype"];

  function each(root, selector, action) {
    Array.prototype.forEach.call(root.querySelectorAll(selector), action);
  }

  function remove(element) {
    if (element && element.parentNode) {
      element.parentNode.removeChild(element);
    }
  }

  function leaveData(entry) {
    var elements = [entry];
    each(entry, "[itemscope], [itemprop]", function (element) {
      elements.push(element);
    });
    elements.forEach(function (element) {
      ITEM_ATTRIBUTES.forEach(function (name) {
        element.removeAttribute(name);
      });
    });
  }

  each(document, ".entry > .question:empty", function (question) {
    remove(question.parentNode);
  });

  each(document, ".entry .answer-text:empty", function (answer) {
    leaveData(answer.closest(".entry"));
  });

  each(document, ".toc-list > li > a:empty", function (link) {
    remove(link.parentNode);
  });
})();
