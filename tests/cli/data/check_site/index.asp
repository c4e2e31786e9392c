<% Option Explicit %>
<!--#include file="inc/lib.asp"-->
<%
Dim a
a = Add(1)
b = 2
%>
