/* Brindlewick structured FAQ design.
   An entry that is switched off in Brindlewick still comes out in the page,
   as a question and an answer with nothing in them. The style sheet hides it
   from readers; this script also takes it out of the page, so that search
   engines, which read the page as a browser shows it, find only the
   questions that are really there in the FAQPage data. A question that has
   no answer yet stays on the page but leaves the FAQPage data. */
(function () {
  "use strict";

  var ITEM_ATTRIBUTES = ["itemscope", "itemprop", "itemtype"];

  function each(root, selector, action) {
    Array.prototype.forEach.call(root.querySelectorAll(selector), action);
  }

  function isEmpty(element) {
    return !element || !element.firstChild;
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

  each(document, ".entry", function (entry) {
    if (isEmpty(entry.querySelector(".question"))) {
      entry.parentNode.removeChild(entry);
    } else if (isEmpty(entry.querySelector(".answer-text"))) {
      leaveData(entry);
    }
  });

  each(document, ".toc-list > li", function (item) {
    var link = item.querySelector("a");
    if (!link || isEmpty(link)) {
      item.parentNode.removeChild(item);
    }
  });
})();
