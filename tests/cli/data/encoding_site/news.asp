<%@ CodePage=65001 %>
<!--#include file="inc/head.asp"-->
<% Session.CodePage = 936 %>
<p>新闻 😀</p>
